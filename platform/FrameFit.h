// A top-level window's stored geometry restored and captured, and fitted once the window
// manager's frame is known: a stored size is the outer size and loses the frame, a window
// placed by default is centred with its frame counted, and no window reaches past the
// screen's available area (it shrinks to fit, then is centred or moved onto the area). The
// frame is known only after the window has been framed (a move follows the show), and not
// at all without a window manager.
#pragma once

#include "platform/StoredGeometry.h"

#include <QObject>
#include <QSize>

class QMainWindow;
class QWidget;

namespace platform {

// Window geometry is kept within what the window system can place.
inline constexpr int MaxWindowCoordinate = 32767;

// False where the window system keeps top-level positions to itself (Wayland): a position
// read there means nothing, and storing it would lose the one the person had elsewhere.
bool WindowPositionsKnown();

class FrameFit : public QObject {
public:
    struct Plan {
        bool outerWidth = false;  // the width set is an outer width: take the frame off
        bool outerHeight = false; // likewise the height
        bool centreX = false;     // centre horizontally with the frame counted
        bool centreY = false;
    };

    // What to do with `window` once its frame is known; its show and move events are
    // watched from now on.
    void Arm(QWidget& window, const Plan& plan);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Shown(QWidget& window);
    void Apply(QWidget& window);

    QWidget* window_ = nullptr;
    Plan plan_;
    bool pending_ = false;
};

// The size of a window whose client area below the menu bar is the design size in twips;
// before the first show this is also its outer size.
QSize DesignSize(QMainWindow& window, double clientWidthTwips, double clientHeightTwips);

// Where a window placed by default goes: centred on the primary screen, or centred with
// each edge held within the 16-bit range.
enum class DefaultEdges { Centred, CentredWithin16Bits };

// Places `window` (not shown yet, at its design size) at `stored`, each absent value taken
// from the default position and the design size. A geometry the screen cannot hold (another
// monitor, a damaged file) is fitted to the screen the window's corner falls on. `fit` is
// armed for the frame.
void RestoreGeometry(QWidget& window, const StoredGeometry& stored, FrameFit& fit,
                     DefaultEdges edges = DefaultEdges::Centred);
// The window's outer geometry in twips. Nothing while it is minimised, maximised or full
// screen, so that what was stored in the normal state is kept.
StoredGeometry CaptureGeometry(const QWidget& window);

} // namespace platform
