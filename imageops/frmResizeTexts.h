// What the resize dialog shows.
#pragma once

#include <QString>

namespace frmResizeTexts {
inline const QString Caption = QStringLiteral("サイズ変更");
inline const QString Pixel = QStringLiteral("ピクセル(&X)");
inline const QString Percent = QStringLiteral("倍率 ％(&P)");
inline const QString Width = QStringLiteral("幅(&W):");
inline const QString Height = QStringLiteral("高さ(&H):");
inline const QString WidthPer = QStringLiteral("幅(&D):");
inline const QString HeightPer = QStringLiteral("高さ(&I):");
inline const QString Times = QStringLiteral("×");
inline const QString Ration = QStringLiteral("縦横比を固定(&C)");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString OutOfMemory =
    QStringLiteral("メモリが不足しているため、画像のサイズを変更できません。");
} // namespace frmResizeTexts
