// Restoring and capturing a window's stored geometry, fitted to the window manager's frame.
#include "platform/FrameFit.h"

#include "platform/DialogPlacement.h"
#include "platform/Twips.h"
#include "platform/WindowGeometry.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace platform {

namespace {
// How long after the first show the window manager's frame is waited for.
constexpr int FrameWaitMilliseconds = 3000;
} // namespace

bool WindowPositionsKnown() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QSize DesignSize(QMainWindow& window, double clientWidthTwips, double clientHeightTwips) {
    return QSize(PixelsFromTwips(clientWidthTwips, TwipsPerPixelX(), 1, MaxWindowCoordinate),
                 PixelsFromTwips(clientHeightTwips, TwipsPerPixelY(), 1, MaxWindowCoordinate) +
                     window.menuBar()->sizeHint().height());
}

void RestoreGeometry(QWidget& window, const StoredGeometry& stored, FrameFit& fit,
                     DefaultEdges edges) {
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    // Before the window is shown no window manager has framed it: this is its client size.
    const QSize outer = window.frameGeometry().size();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize(1024, 768);
    const auto defaultEdge = [edges](int screenExtent, int outerExtent, double twipsPerPixel) {
        const float edge =
            float(CentredEdge(0, screenExtent * twipsPerPixel, outerExtent * twipsPerPixel));
        return edges == DefaultEdges::CentredWithin16Bits ? std::clamp(edge, -32768.0f, 32767.0f)
                                                          : edge;
    };
    const QRect wanted(
        PixelsFromTwips(stored.Left.value_or(defaultEdge(screenSize.width(), outer.width(), tx)),
                        tx, -MaxWindowCoordinate, MaxWindowCoordinate),
        PixelsFromTwips(stored.Top.value_or(defaultEdge(screenSize.height(), outer.height(), ty)),
                        ty, -MaxWindowCoordinate, MaxWindowCoordinate),
        PixelsFromTwips(stored.Width.value_or(float(outer.width() * tx)), tx, 1,
                        MaxWindowCoordinate),
        PixelsFromTwips(stored.Height.value_or(float(outer.height() * ty)), ty, 1,
                        MaxWindowCoordinate));
    const QScreen* target = QGuiApplication::screenAt(wanted.topLeft());
    if (!target)
        target = screen;
    const QRect fitted =
        target ? FitWindowGeometry(wanted, target->availableGeometry(), outer, tx, ty) : wanted;
    window.move(fitted.topLeft());
    window.resize(fitted.size());
    // Once the frame is known: a stored size is the outer one and loses the frame; the
    // design size (no stored size, or one that did not fit) is the client's and keeps it;
    // a window placed by default is centred with its frame.
    const bool designSize = fitted.size() != wanted.size();
    fit.Arm(window,
            {!designSize && stored.Width.has_value(), !designSize && stored.Height.has_value(),
             designSize || !stored.Left.has_value(), designSize || !stored.Top.has_value()});
}

StoredGeometry CaptureGeometry(const QWidget& window) {
    if (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return {};
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    // Before the window manager has framed the window its frame is its size as loaded.
    const QRect outer = window.frameGeometry();
    StoredGeometry captured{float(outer.x() * tx), float(outer.y() * ty),
                            float(outer.height() * ty), float(outer.width() * tx)};
    // A position read where the window system keeps it to itself means nothing: the one
    // stored stays.
    if (!WindowPositionsKnown())
        captured.Left = captured.Top = std::nullopt;
    return captured;
}

void FrameFit::Arm(QWidget& window, const Plan& plan) {
    window_ = &window;
    plan_ = plan;
    pending_ = true;
    window.installEventFilter(this);
}

bool FrameFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show)
        Shown(*window_);
    else if (watched == window_ && event->type() == QEvent::Move)
        Apply(*window_);
    return false;
}

void FrameFit::Shown(QWidget& window) {
    if (!pending_)
        return;
    // After a while nothing is waited for any more: a later move must not undo a size the
    // person chose. The timers go with the window.
    QTimer::singleShot(0, &window, [this, &window] { Apply(window); });
    QTimer::singleShot(FrameWaitMilliseconds, &window, [this] { pending_ = false; });
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
    QSize client(window.width() - (plan_.outerWidth ? frame.width() : 0),
                 window.height() - (plan_.outerHeight ? frame.height() : 0));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QScreen* shownOn = window.screen() ? window.screen() : screen;
    const QRect area = shownOn ? shownOn->availableGeometry() : QRect();
    // The frame counted, the window never reaches past the available area.
    if (!area.isEmpty())
        client = client.boundedTo((area.size() - frame).expandedTo(QSize(1, 1)));
    window.resize(client);
    const QSize outer = client + frame;
    QRect placed(window.frameGeometry().topLeft(), outer);
    if (screen) {
        const QRect whole = screen->geometry();
        if (plan_.centreX)
            placed.moveLeft(
                CentredPixels(whole.left(), whole.width(), outer.width(), TwipsPerPixelX()));
        if (plan_.centreY)
            placed.moveTop(
                CentredPixels(whole.top(), whole.height(), outer.height(), TwipsPerPixelY()));
    }
    placed = KeptWithin(placed, area);
    if (placed.topLeft() != window.frameGeometry().topLeft())
        window.move(placed.topLeft());
}

} // namespace platform
