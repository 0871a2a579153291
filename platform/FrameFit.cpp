// Fitting a window to the window manager's frame.
#include "platform/FrameFit.h"

#include "platform/Rounding.h"
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdint>

namespace platform {

namespace {
// How long after the first show the window manager's frame is waited for.
constexpr int FrameWaitMilliseconds = 3000;
} // namespace

float CentredTwips(int screen, int outer, double twipsPerPixel) {
    return float(RoundHalfEven((screen - outer) * twipsPerPixel / 2));
}

int PixelsFromTwips(float twips, double twipsPerPixel, int min, int max) {
    return int(std::clamp<std::int64_t>(RoundHalfEven(double(twips) / twipsPerPixel), min, max));
}

bool WindowPositionsKnown() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void FrameFit::Arm(const Plan& plan) {
    plan_ = plan;
    pending_ = true;
}

void FrameFit::Shown(QWidget& window) {
    if (!pending_)
        return;
    // After a while nothing is waited for any more: a later move must not undo a size the
    // person chose. The timers go with the window.
    QTimer::singleShot(0, &window, [this, &window] { Apply(window); });
    QTimer::singleShot(FrameWaitMilliseconds, &window, [this] { pending_ = false; });
}

void FrameFit::Moved(QWidget& window) {
    Apply(window);
}

void FrameFit::Apply(QWidget& window) {
    if (!pending_ || !window.isVisible())
        return;
    const QSize frame = window.frameGeometry().size() - window.size();
    if (frame.isNull())
        return;
    pending_ = false;
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QSize client(window.width() - (plan_.outerWidth ? frame.width() : 0),
                       window.height() - (plan_.outerHeight ? frame.height() : 0));
    window.resize(client);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !(plan_.centreX || plan_.centreY))
        return;
    const QSize outer = client + frame;
    const QSize screenSize = screen->geometry().size();
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const QPoint corner = window.frameGeometry().topLeft();
    window.move(plan_.centreX ? PixelsFromTwips(CentredTwips(screenSize.width(), outer.width(), tx),
                                                tx, -MaxWindowCoordinate, MaxWindowCoordinate)
                              : corner.x(),
                plan_.centreY
                    ? PixelsFromTwips(CentredTwips(screenSize.height(), outer.height(), ty), ty,
                                      -MaxWindowCoordinate, MaxWindowCoordinate)
                    : corner.y());
}

} // namespace platform
