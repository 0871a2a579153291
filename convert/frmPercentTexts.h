// The fixed texts of the conversion run and its progress dialog.
#pragma once

#include <QString>

namespace frmPercentTexts {
inline const QString TextConversion = QStringLiteral("テキスト変換中...");
inline const QString HTMLConversion = QStringLiteral("HTML 変換中...");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString StopQuestion = QStringLiteral("変換を中止しますか?");
inline const QString ShowInBrowser = QStringLiteral("ブラウザで表示しますか？");
inline const QString TooLargeForView =
    QStringLiteral("画像のサイズが大きすぎるためクリップボードにコピーします。");
// The intermediate file vanished, was replaced or could not be written: the reason and
// the file's path go between these two lines.
inline const QString IntermediateFileFailed =
    QStringLiteral("中間ファイルを読み書きできませんでした。");
inline const QString ConversionFailed = QStringLiteral("変換に失敗しました。");
// Another copy of the program holds the intermediate file: the label while it is awaited.
inline const QString WaitingForAnotherCopy =
    QStringLiteral("ほかの glyfora の変換が終わるのを待っています...");
} // namespace frmPercentTexts
