// What the angle dialog shows.
#pragma once

#include <QString>

namespace frmAngleTexts {
inline const QString Caption = QStringLiteral("角度入力");
inline const QString Title = QStringLiteral("角度(&A):");
inline const QString Clockwise = QStringLiteral("°（時計回り）(&C)");
inline const QString CounterClockwise = QStringLiteral("°（反時計回り）(&W)");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString OutOfRange = QStringLiteral("0°から360°の範囲で指定してください。");
inline const QString OutOfMemory =
    QStringLiteral("メモリが不足しているため、画像を回転できません。");
} // namespace frmAngleTexts
