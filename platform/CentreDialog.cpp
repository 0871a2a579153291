// Centring a fixed dialog over the main window.
#include "platform/CentreDialog.h"

#include "platform/DialogPlacement.h"
#include "platform/Rounding.h"
#include "platform/Twips.h"

#include <QWidget>

namespace platform {

namespace {
int PixelsFromTwips(std::int32_t twips, double twipsPerPixel) {
    return int(RoundHalfEven(double(twips) / twipsPerPixel));
}
} // namespace

void CentreOver(QWidget& dialog, const QWidget& main) {
    const QRect mainFrame = main.frameGeometry();
    const QSize frameExtra = mainFrame.size() - main.geometry().size();
    const QSize outer = dialog.size() + frameExtra;
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();
    const mGlyfora::TwipsPosition at =
        mGlyfora::CentredOver(mainFrame.left() * tx, mainFrame.top() * ty, mainFrame.width() * tx,
                              mainFrame.height() * ty, outer.width() * tx, outer.height() * ty);
    dialog.move(PixelsFromTwips(at.left, tx), PixelsFromTwips(at.top, ty));
}

} // namespace platform
