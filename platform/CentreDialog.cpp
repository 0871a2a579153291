// Centring a fixed dialog over the main window.
#include "platform/CentreDialog.h"

#include "platform/DialogPlacement.h"
#include "platform/FrameFit.h"
#include "platform/Rounding.h"
#include "platform/Twips.h"

#include <QScreen>
#include <QWidget>

namespace platform {

namespace {
int PixelsFromTwips(std::int32_t twips, double twipsPerPixel) {
    return int(RoundHalfEven(double(twips) / twipsPerPixel));
}

// The dialog's outer size with the main window's frame.
QSize OuterSize(const QWidget& dialog, const QWidget& main) {
    return dialog.size() + (main.frameGeometry().size() - main.geometry().size());
}
} // namespace

void CentreOver(QWidget& dialog, const QWidget& main) {
    const QRect mainFrame = main.frameGeometry();
    const QSize outer = OuterSize(dialog, main);
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const platform::TwipsPosition at =
        platform::CentredOver(mainFrame.left() * tx, mainFrame.top() * ty, mainFrame.width() * tx,
                              mainFrame.height() * ty, outer.width() * tx, outer.height() * ty);
    dialog.move(PixelsFromTwips(at.left, tx), PixelsFromTwips(at.top, ty));
}

void CentreOnScreen(QWidget& dialog, const QWidget& main) {
    const QScreen* screen = main.screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = OuterSize(dialog, main);
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    dialog.move(area.left() + PixelsFromTwips(CentredTwips(area.width(), outer.width(), tx), tx,
                                              -MaxWindowCoordinate, MaxWindowCoordinate),
                area.top() + PixelsFromTwips(CentredTwips(area.height(), outer.height(), ty), ty,
                                             -MaxWindowCoordinate, MaxWindowCoordinate));
}

} // namespace platform
