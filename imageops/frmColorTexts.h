// What the colour dialog shows.
#pragma once

#include <QString>

namespace frmColorTexts {
inline const QString Caption = QStringLiteral("色調補正");
inline const QString Tone = QStringLiteral("色調");
inline const QString Red = QStringLiteral("赤(&R):");
inline const QString Green = QStringLiteral("緑(&G):");
inline const QString Blue = QStringLiteral("青(&B):");
inline const QString Preview = QStringLiteral("プレビュー(&P)");
inline const QString Ok = QStringLiteral("OK");
inline const QString Cancel = QStringLiteral("Cancel");
} // namespace frmColorTexts
