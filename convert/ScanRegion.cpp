// Region and row estimate of a scan.
#include "convert/ScanRegion.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace mGlyfora {

namespace {

std::optional<qint64> RoundToLong(float value) {
    return platform::RoundedWithin<qint32>(value);
}

} // namespace

std::optional<ScanRegion> FixRegion(const SelectionRect& selection, int pictureWidth,
                                    int pictureHeight) {
    if (!selection.Visible)
        return ScanRegion{0, 0, pictureWidth, pictureHeight};
    const float right = selection.Left + selection.Width;
    const float bottom = selection.Top + selection.Height;
    const auto l = RoundToLong(selection.Left), t = RoundToLong(selection.Top);
    const auto r = RoundToLong(right), b = RoundToLong(bottom);
    if (!l || !t || !r || !b)
        return std::nullopt;
    return ScanRegion{*l, *t, *r, *b};
}

int RowEstimate(const ScanRegion& region, int cellHeight) {
    const qint64 rows =
        platform::RoundHalfEven(double(region.Bottom - region.Top) / double(cellHeight));
    return int(std::clamp<qint64>(rows, 0, INT_MAX));
}

qint64 SampleCount(qint64 first, qint64 end, int step) {
    return end > first ? (end - first - 1) / step + 1 : 0;
}

} // namespace mGlyfora
