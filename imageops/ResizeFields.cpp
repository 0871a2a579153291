// Change handlers of the resize dialog's boxes.
#include "imageops/ResizeFields.h"

#include "imageops/NumericInput.h"

#include <utility>
#include <vector>

namespace mGlyfora {

int MaxLength(ResizeBox box) {
    return box == ResizeBox::Width || box == ResizeBox::Height ? 5 : 10;
}

namespace {

bool IsPixelBox(ResizeBox box) {
    return box == ResizeBox::Width || box == ResizeBox::Height;
}

using Writes = std::vector<std::pair<ResizeBox, qint32>>;

// A pixel box: its percentage, then (locked) the other pixel box in proportion.
std::optional<Writes> PixelChanged(const ResizeBoxes& boxes, bool width, qint32 baseWidth,
                                   qint32 baseHeight) {
    const ResizeBox self = width ? ResizeBox::Width : ResizeBox::Height;
    const double base = width ? baseWidth : baseHeight;
    const double otherBase = width ? baseHeight : baseWidth;

    const QString s = boxes.Text(self);
    if (Val(s) == 0)
        return Writes{};
    const std::optional<qint16> value = CInt(s);
    if (!value || base == 0)
        return std::nullopt;
    const std::optional<qint32> per = RoundToInt32(*value / base * 100);
    if (!per)
        return std::nullopt;
    Writes writes{{width ? ResizeBox::WidthPer : ResizeBox::HeightPer, *per}};
    if (boxes.RatioLocked()) {
        const std::optional<qint32> size = RoundToInt32(*value / base * otherBase);
        if (!size)
            return std::nullopt;
        writes.emplace_back(width ? ResizeBox::Height : ResizeBox::Width, *size);
    }
    return writes;
}

// A percentage box: its pixel box, then (locked) the same percentage in the other one.
std::optional<Writes> PercentChanged(const ResizeBoxes& boxes, bool width, qint32 baseWidth,
                                     qint32 baseHeight) {
    const QString s = boxes.Text(width ? ResizeBox::WidthPer : ResizeBox::HeightPer);
    if (Val(s) == 0)
        return Writes{};
    const std::optional<qint16> per = CInt(s);
    if (!per)
        return std::nullopt;
    const std::optional<qint32> size =
        RoundToInt32(*per / 100.0 * (width ? baseWidth : baseHeight));
    if (!size)
        return std::nullopt;
    Writes writes{{width ? ResizeBox::Width : ResizeBox::Height, *size}};
    if (boxes.RatioLocked())
        writes.emplace_back(width ? ResizeBox::HeightPer : ResizeBox::WidthPer, *per);
    return writes;
}

} // namespace

void BoxChanged(ResizeBoxes& boxes, ResizeBox changed, qint32 baseWidth, qint32 baseHeight) {
    const std::optional<ResizeBox> active = boxes.ActiveBox();
    if (!active || IsPixelBox(*active) != IsPixelBox(changed))
        return;
    const bool width = changed == ResizeBox::Width || changed == ResizeBox::WidthPer;
    const std::optional<Writes> writes = IsPixelBox(changed)
                                             ? PixelChanged(boxes, width, baseWidth, baseHeight)
                                             : PercentChanged(boxes, width, baseWidth, baseHeight);
    if (!writes)
        return;
    // The box being typed in is never rewritten by the chain it started; any other value
    // that would not fit its box ends the handler with nothing changed.
    for (const auto& [box, value] : *writes) {
        if (box != *active && QString::number(value).size() > MaxLength(box))
            return;
    }
    for (const auto& [box, value] : *writes) {
        if (box != *active)
            boxes.SetText(box, QString::number(value));
    }
}

} // namespace mGlyfora
