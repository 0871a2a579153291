// The rectangle of pixels a scan walks, and the row estimate its progress bar shows.
#pragma once

#include "imageops/SelectionRect.h"

#include <QtGlobal>
#include <optional>

namespace mGlyfora {

// Columns Left..Right-1 and rows Top..Bottom-1; any of them may lie outside the picture.
struct ScanRegion {
    qint64 Left = 0;
    qint64 Top = 0;
    qint64 Right = 0;
    qint64 Bottom = 0;
};

// The selection when it is visible (right and bottom summed in single precision before
// rounding), else the whole picture; every value rounded half to even. Nothing when a
// value is not a finite number inside the 32-bit range.
std::optional<ScanRegion> FixRegion(const SelectionRect& selection, int pictureWidth,
                                    int pictureHeight);

// (Bottom - Top) / cellHeight rounded half to even, kept within 0..INT_MAX for the
// progress bar.
int RowEstimate(const ScanRegion& region, int cellHeight);

// Samples along one axis: ceil(extent / step) for a positive extent, else 0.
qint64 SampleCount(qint64 first, qint64 end, int step);

} // namespace mGlyfora
