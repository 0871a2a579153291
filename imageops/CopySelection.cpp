// Copying the selected rectangle of a picture.
#include "imageops/CopySelection.h"

#include "imageops/ResultImage.h"
#include "platform/Rounding.h"

#include <QPainter>

namespace mGlyfora {

bool CopySelection(PictureSurface& destination, const PictureSurface& source,
                   const SelectionRect& selection) {
    if (!selection.Visible) {
        CopyPicture(destination, source);
        return true;
    }
    using platform::RoundHalfEven;
    const qint64 x = RoundHalfEven(selection.Left);
    const qint64 y = RoundHalfEven(selection.Top);
    const qint64 w = RoundHalfEven(selection.Width);
    const qint64 h = RoundHalfEven(selection.Height);
    if (w <= 0 || h <= 0) {
        destination.MutableImage() = QImage();
        return true;
    }
    QImage result = AllocateResult(int(w), int(h));
    if (result.isNull())
        return false;
    const QRect wanted{int(x), int(y), int(w), int(h)};
    const QRect inside = wanted.intersected(source.Image().rect());
    if (inside != wanted)
        result.fill(destination.Background());
    if (!inside.isEmpty()) {
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(inside.topLeft() - wanted.topLeft(), source.Image(), inside);
    }
    destination.MutableImage() = std::move(result);
    return true;
}

} // namespace mGlyfora
