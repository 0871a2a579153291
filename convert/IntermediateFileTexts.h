// The intermediate file's own reasons for a failure. They follow the file's path inside
// the conversion run's Japanese message; the C library's texts for errno values follow
// the locale and are used as they are.
#pragma once

#include <QString>

namespace IntermediateFileTexts {
inline const QString NotRegular = QStringLiteral("通常のファイルではありません。");
inline const QString OtherOwner = QStringLiteral("ほかのユーザーのファイルです。");
inline const QString SecondName = QStringLiteral("ほかの名前でもリンクされています。");
inline const QString SymbolicLink = QStringLiteral("シンボリック リンクです。");
inline const QString NotOpen = QStringLiteral("ファイルが開かれていません。");
inline const QString InUse = QStringLiteral("ほかの変換が使用中です。");
inline const QString Removed = QStringLiteral("ほかのプログラムに削除されました。");
inline const QString Replaced = QStringLiteral("変換中に置き換えられました。");
inline const QString Changed = QStringLiteral("変換中に変更されました。");
inline const QString Unexpected = QStringLiteral("内容が書き込んだものと違います。");
inline const QString TooLarge = QStringLiteral("結果が大きすぎてメモリに収まりません。");
} // namespace IntermediateFileTexts
