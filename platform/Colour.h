// Colour values as the program stores them: 0x00BBGGRR, with 0xFFFFFFFF for an
// unreadable pixel and 0x80000000 + index for a system colour.
#pragma once

#include <QColor>
#include <QRgb>
#include <QtGlobal>

using Colour = quint32;

namespace platform {

inline constexpr Colour InvalidColour = 0xFFFFFFFFu;
inline constexpr Colour SystemColourBase = 0x80000000u;

inline constexpr Colour ColourFromRgb(QRgb rgb) {
    return (rgb >> 16 & 0xFFu) | (rgb & 0xFF00u) | (rgb & 0xFFu) << 16;
}

inline constexpr QRgb RgbFromColour(Colour c) {
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

inline constexpr bool IsSystemColour(Colour c) {
    return (c & 0xFF000000u) == SystemColourBase;
}

// True for a plain RGB colour or a system colour number this program knows.
bool IsValidColourValue(Colour c);

// The screen colour of a plain or system colour (window background, window text,
// workspace, button face from the application palette).
QColor ToQColor(Colour c);

} // namespace platform
