// What the options dialog shows: its caption, tabs, frames, labels, buttons and messages.
#pragma once

#include <QString>
#include <array>

namespace frmOptionTexts {
inline const QString Caption = QStringLiteral("オプション");

inline const std::array<QString, 5> Tabs = {QStringLiteral("変換"), QStringLiteral("キャラクタ"),
                                            QStringLiteral("ブラウザ出力"),
                                            QStringLiteral("HTML出力"), QStringLiteral("その他")};

inline const QString Rate = QStringLiteral("変換ピクセル値");
inline const QString X = QStringLiteral("&X:");
inline const QString Y = QStringLiteral("&Y:");
inline const QString Reverse = QStringLiteral("色反転(&R)");
inline const QString Charactor = QStringLiteral("使用キャラクタ(&U)");
inline const QString HtmlTags = QStringLiteral("HTML タグ");
inline const QString Before = QStringLiteral("前(&B):");
inline const QString After = QStringLiteral("後(&A):");
inline const QString History = QStringLiteral("ファイルヒストリ");
inline const QString Recent = QStringLiteral("メニュー内のヒストリ個数(&H):");
inline const QString Clear = QStringLiteral("消去(&C)");

inline const QString Default = QStringLiteral("&Default");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Cancel");

inline const QString ClearQuestion = QStringLiteral("メニュー内のヒストリを消去します。");
inline const QString RampEmpty = QStringLiteral("変換キャラクタを入力してください。");
// Put around the limit's decimal digits.
inline const QString RampTooLongHead = QStringLiteral("変換キャラクタを");
inline const QString RampTooLongTail = QStringLiteral(" 文字以内で入力してください。");
} // namespace frmOptionTexts
