// Change handlers of the resize dialog's boxes.
#include "imageops/ResizeFields.h"

#include "imageops/NumericInput.h"

namespace mGlyfora {

namespace {

bool IsPixelBox(ResizeBox box) {
    return box == ResizeBox::Width || box == ResizeBox::Height;
}

// A pixel box: its percentage, then (locked) the other pixel box in proportion.
void PixelChanged(ResizeBoxes& boxes, bool width, qint32 baseWidth, qint32 baseHeight) {
    const ResizeBox self = width ? ResizeBox::Width : ResizeBox::Height;
    const ResizeBox percent = width ? ResizeBox::WidthPer : ResizeBox::HeightPer;
    const ResizeBox other = width ? ResizeBox::Height : ResizeBox::Width;
    const double base = width ? baseWidth : baseHeight;
    const double otherBase = width ? baseHeight : baseWidth;

    const QString s = boxes.Text(self);
    if (Val(s) == 0)
        return;
    const std::optional<qint16> value = CInt(s);
    if (!value || base == 0)
        return;
    const std::optional<qint32> per = RoundToInt32(*value / base * 100);
    if (!per)
        return;
    boxes.SetText(percent, QString::number(*per));
    if (boxes.RatioLocked()) {
        const std::optional<qint32> size = RoundToInt32(*value / base * otherBase);
        if (!size)
            return;
        boxes.SetText(other, QString::number(*size));
    }
}

// A percentage box: its pixel box, then (locked) the same percentage in the other one.
void PercentChanged(ResizeBoxes& boxes, bool width, qint32 baseWidth, qint32 baseHeight) {
    const ResizeBox self = width ? ResizeBox::WidthPer : ResizeBox::HeightPer;
    const QString s = boxes.Text(self);
    if (Val(s) == 0)
        return;
    const std::optional<qint16> per = CInt(s);
    if (!per)
        return;
    const std::optional<qint32> size =
        RoundToInt32(*per / 100.0 * (width ? baseWidth : baseHeight));
    if (!size)
        return;
    boxes.SetText(width ? ResizeBox::Width : ResizeBox::Height, QString::number(*size));
    if (boxes.RatioLocked())
        boxes.SetText(width ? ResizeBox::HeightPer : ResizeBox::WidthPer, QString::number(*per));
}

} // namespace

void BoxChanged(ResizeBoxes& boxes, ResizeBox changed, qint32 baseWidth, qint32 baseHeight) {
    const std::optional<ResizeBox> active = boxes.ActiveBox();
    if (!active || IsPixelBox(*active) != IsPixelBox(changed))
        return;
    const bool width = changed == ResizeBox::Width || changed == ResizeBox::WidthPer;
    if (IsPixelBox(changed))
        PixelChanged(boxes, width, baseWidth, baseHeight);
    else
        PercentChanged(boxes, width, baseWidth, baseHeight);
}

} // namespace mGlyfora
