// Twips per pixel from the primary screen's logical DPI, and twips to pixels.
#include "platform/Twips.h"

#include "platform/Rounding.h"

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

int PixelsFromTwips(double twips, double twipsPerPixel, int min, int max) {
    return RoundHalfEven<int>(twips / twipsPerPixel, min, max);
}

} // namespace platform
