// Twips per pixel from the primary screen's logical DPI.
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {
double TwipsFromDpi(double dpi) {
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}
} // namespace

double TwipsPerPixelX() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return TwipsFromDpi(screen ? screen->logicalDotsPerInchX() : 96.0);
}

double TwipsPerPixelY() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    return TwipsFromDpi(screen ? screen->logicalDotsPerInchY() : 96.0);
}

} // namespace platform
