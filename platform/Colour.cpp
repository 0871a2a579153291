// System colour numbers mapped onto the application palette.
#include "platform/Colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {
bool SystemRole(Colour c, QPalette::ColorRole& role) {
    switch (c - SystemColourBase) {
    case 5:
        role = QPalette::Base;
        return true;
    case 8:
        role = QPalette::Text;
        return true;
    case 12:
        role = QPalette::Dark;
        return true;
    case 15:
        role = QPalette::Button;
        return true;
    default:
        return false;
    }
}
} // namespace

bool IsValidColourValue(Colour c) {
    QPalette::ColorRole role;
    return (c & 0xFF000000u) == 0 || (IsSystemColour(c) && SystemRole(c, role));
}

QColor ToQColor(Colour c) {
    QPalette::ColorRole role;
    if (IsSystemColour(c) && SystemRole(c, role)) {
        const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                     ? QGuiApplication::palette()
                                     : QPalette();
        return palette.color(QPalette::Active, role);
    }
    return QColor::fromRgb(RgbFromColour(c));
}

} // namespace platform
