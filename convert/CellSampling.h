// A picture of one pixel per cell: for each cell of a scan, the pixel the scans take (its
// top-left one) or the mean of all its pixels. Scanned with 1 x 1 cells it gives the rows
// the scans give for the region and the cell size, so any cell size and either sampling
// run through the one scan, on any number of threads at once.
#pragma once

#include "convert/ScanRegion.h"

#include <QImage>

class PictureSurface;

namespace mGlyfora {

enum class CellSample {
    Pixel, // the cell's top-left pixel, as the scans take it
    Mean,  // each channel's mean over the cell's pixels inside the region, to the nearest
};

// The cells of `region` (inside the picture, at least one pixel) at `cellWidth` x
// `cellHeight` (each at least 1): one pixel per cell, Format_RGB32, the last column and
// row of cells cut at the region's edge. With one-pixel-wide cells taken by pixel the
// result shares the picture's memory and must not outlive it. A null image when the
// memory for it cannot be had.
QImage SampleCells(const PictureSurface& picture, const ScanRegion& region, int cellWidth,
                   int cellHeight, CellSample sample);

} // namespace mGlyfora
