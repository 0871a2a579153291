// The conversion window's fixed Japanese texts: caption, menus, tooltips, dialog titles
// and the file filter.
#pragma once

#include <QString>

namespace frmTextTexts {

inline const QString Caption = QStringLiteral("変換ウィンドウ");

inline const QString FileMenu = QStringLiteral("ファイル(&F)");
inline const QString FileOpen = QStringLiteral("ファイルを開く(&O)...");
inline const QString SaveAs = QStringLiteral("名前を付けて保存(&A)...");
inline const QString Print = QStringLiteral("印刷(&P)...");
inline const QString Close = QStringLiteral("閉じる(&C)");
inline const QString EditMenu = QStringLiteral("編集(&E)");
inline const QString Cut = QStringLiteral("切り取り(&T)");
inline const QString Copy = QStringLiteral("コピー(&C)");
inline const QString Paste = QStringLiteral("貼り付け(&P)");
inline const QString Delete = QStringLiteral("削除(&D)");
inline const QString AllSelect = QStringLiteral("すべて選択(&A)");
inline const QString ViewMenu = QStringLiteral("表示(&V)");
inline const QString Font = QStringLiteral("フォントの変更(&F)...");
inline const QString BackColor = QStringLiteral("背景色の変更(&B)...");

inline const QString OpenTip = QStringLiteral("ファイルを開く");
inline const QString SaveAsTip = QStringLiteral("名前を付けて保存");
inline const QString CutTip = QStringLiteral("切り取り");
inline const QString CopyTip = QStringLiteral("コピー");
inline const QString PasteTip = QStringLiteral("貼り付け");
inline const QString PrintTip = QStringLiteral("印刷");
inline const QString FontTip = QStringLiteral("フォントの変更");

inline const QString OpenTitle = QStringLiteral("ファイルを開く");
// One character differs from the menu caption: the dialog reads "つけて".
inline const QString SaveTitle = QStringLiteral("名前をつけて保存");
inline const QString FileFilter = QStringLiteral("Text File (*.txt)|*.txt|Rich Text (*.rtf)|*.rtf");

// Messages of ours naming what went wrong (the file commands' come with the files).
inline const QString PrintFailed = QStringLiteral("印刷できませんでした。");
inline const QString TooLarge = QStringLiteral("テキストが大きすぎて表示できません。");

} // namespace frmTextTexts
