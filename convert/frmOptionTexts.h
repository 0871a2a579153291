// What the options dialog shows: its caption, tabs, frames, labels, buttons and messages.
#pragma once

#include <QString>
#include <array>

namespace frmOptionTexts {
inline const QString Caption = QStringLiteral("オプション");

inline const std::array<QString, 6> Tabs = {
    QStringLiteral("変換"),     QStringLiteral("キャラクタ"), QStringLiteral("ブラウザ出力"),
    QStringLiteral("HTML出力"), QStringLiteral("その他"),     QStringLiteral("仕上がり")};

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

// The finish: the style of text results, the exact scan's brightness, tone's diffusion and
// the preview.
inline const QString Style = QStringLiteral("変換方式");
inline const std::array<QString, 3> Styles = {
    QStringLiteral("そのまま(&E)"), QStringLiteral("階調(&T)"), QStringLiteral("形状(&S)")};
inline const QString Brightness = QStringLiteral("明るさ");
inline const std::array<QString, 2> Brightnesses = {QStringLiteral("最大の成分(&M)"),
                                                    QStringLiteral("輝度(&L)")};
inline const QString Dither = QStringLiteral("ディザ(&I)");
inline const QString Preview = QStringLiteral("プレビュー");
inline const QString NoPicture = QStringLiteral("画像がありません");

inline const QString Default = QStringLiteral("&Default");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Cancel");

inline const QString ClearQuestion = QStringLiteral("メニュー内のヒストリを消去します。");
inline const QString RampEmpty = QStringLiteral("変換キャラクタを入力してください。");
// Put around the limit's decimal digits.
inline const QString RampTooLongHead = QStringLiteral("変換キャラクタを");
inline const QString RampTooLongTail = QStringLiteral(" 文字以内で入力してください。");
} // namespace frmOptionTexts
