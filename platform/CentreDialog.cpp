// Centring a fixed dialog over the main window or on its screen, kept on the screen's
// available area.
#include "platform/CentreDialog.h"

#include "platform/DialogPlacement.h"
#include "platform/Twips.h"
#include "platform/WindowGeometry.h"

#include <QScreen>
#include <QWidget>

namespace platform {

namespace {
// The dialog's outer size with the main window's frame.
QSize OuterSize(const QWidget& dialog, const QWidget& main) {
    return dialog.size() + (main.frameGeometry().size() - main.geometry().size());
}

// Moves `dialog` so that its outer frame's corner is at `corner`, or as near as keeps the
// frame on the available area of `main`'s screen.
void MoveKept(QWidget& dialog, const QWidget& main, const QPoint& corner) {
    const QScreen* screen = main.screen();
    const QRect outer(corner, OuterSize(dialog, main));
    dialog.move(screen ? KeptWithin(outer, screen->availableGeometry()).topLeft() : corner);
}
} // namespace

void CentreOver(QWidget& dialog, const QWidget& main) {
    const QRect mainFrame = main.frameGeometry();
    const QSize outer = OuterSize(dialog, main);
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const TwipsPosition at =
        CentredOver(mainFrame.left() * tx, mainFrame.top() * ty, mainFrame.width() * tx,
                    mainFrame.height() * ty, outer.width() * tx, outer.height() * ty);
    MoveKept(dialog, main, QPoint(PixelsFromTwips(at.left, tx), PixelsFromTwips(at.top, ty)));
}

void CentreOnScreen(QWidget& dialog, const QWidget& main) {
    const QScreen* screen = main.screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = OuterSize(dialog, main);
    MoveKept(dialog, main,
             QPoint(CentredPixels(area.left(), area.width(), outer.width(), TwipsPerPixelX()),
                    CentredPixels(area.top(), area.height(), outer.height(), TwipsPerPixelY())));
}

} // namespace platform
