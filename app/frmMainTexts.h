// The main window's fixed Japanese texts.
#pragma once

#include <QString>

namespace frmMainTexts {

inline const QString FileMenu = QStringLiteral("ファイル(&F)");
inline const QString FileOpen = QStringLiteral("ファイルを開く(&O)...");
inline const QString Exit = QStringLiteral("終了(&X)");
inline const QString ImageMenu = QStringLiteral("イメージ(&I)");
inline const QString NormalView = QStringLiteral("元に戻す(&N)");
inline const QString Resize = QStringLiteral("サイズ変更(&S)...");
inline const QString Revolving = QStringLiteral("画像回転(&E)");
inline const QString RunMenu = QStringLiteral("実行(&R)");
inline const QString TextConversion = QStringLiteral("テキスト変換(&T)...");
inline const QString HTMLConversion = QStringLiteral("HTML 変換(&H)...");
inline const QString OptionsMenu = QStringLiteral("オプション(&O)");
inline const QString ToolBar = QStringLiteral("ツール バー(&B)");
inline const QString StatusBar = QStringLiteral("ステータス バー(&S)");
inline const QString EditMenu = QStringLiteral("編集(&E)");
inline const QString Copy = QStringLiteral("コピー(&C)");
inline const QString Paste = QStringLiteral("貼り付け(&P)");
inline const QString Angle180 = QStringLiteral("180°(&1)");
inline const QString Angle90Clockwise = QStringLiteral("90°（時計回り）(&9)");
inline const QString Angle90CounterClockwise = QStringLiteral("90°（反時計回り）(&0)");
inline const QString AngleIn = QStringLiteral("角度入力(&A)...");
inline const QString MirrorH = QStringLiteral("水平方向に反転(&H)");
inline const QString MirrorV = QStringLiteral("垂直方向に反転(&V)");
inline const QString Color = QStringLiteral("色調補正(&C)...");
inline const QString Option = QStringLiteral("オプション(&O)...");
inline const QString WindowMenu = QStringLiteral("ウィンドウ(&W)");
inline const QString ShowText = QStringLiteral("変換ウィンドウ(&C)...");

inline const QString OpenTitle = QStringLiteral("ファイルを開く");
inline const QString OpenFilter = QStringLiteral(
    "CompuServe Graphics Interchange (*.gif)|*.gif|JPEG - JFIF Compliant "
    "(*.jpg;*.jif;*.jpeg)|*.jpg;*.jif;*.jpeg|Windows or OS/2 Bitmap (*.bmp)|*.bmp|All Files|*.*");
inline constexpr int OpenFilterIndex = 4;
inline constexpr unsigned OpenFlags = 0x1004; // file must exist, no read-only box
inline const QString OpenTip = QStringLiteral("ファイルを開く");
inline const QString CopyTip = QStringLiteral("コピー");
inline const QString PasteTip = QStringLiteral("貼り付け");
inline const QString ResizeTip = QStringLiteral("サイズ変更");
inline const QString TextConversionTip = QStringLiteral("テキスト変換");
inline const QString HTMLConversionTip = QStringLiteral("HTML変換");
inline const QString OptionTip = QStringLiteral("オプション");

inline const QString FileNotFound = QStringLiteral("このファイルが見つかりません。");
inline const QString CheckPath = QStringLiteral("パスとファイル名を確認してください。");
inline const QString SettingsNotSaved = QStringLiteral("設定を保存できませんでした。");
inline const QString PictureOutOfMemory =
    QStringLiteral("メモリが不足しているため、画像を読み込めません。");
inline const QString ImageOutOfMemory =
    QStringLiteral("メモリが不足しているため、画像を変更できません。");
inline const QString PastedCaption = QStringLiteral("Image - "); // before the title

} // namespace frmMainTexts
