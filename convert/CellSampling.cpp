// Cells sampled straight from the picture's scanlines.
#include "convert/CellSampling.h"

#include "imageops/PictureSurface.h"

#include <algorithm>
#include <new>
#include <vector>

namespace mGlyfora {

namespace {

const QRgb* PixelAt(const QImage& image, qint64 x, qint64 y) {
    return reinterpret_cast<const QRgb*>(image.constScanLine(int(y))) + x;
}

QImage TopLeftPixels(const QImage& picture, const ScanRegion& region, int cellWidth, int cellHeight,
                     qint64 columns, qint64 rows) {
    // One-pixel-wide cells are every cellHeight-th line: a view with a longer stride.
    if (cellWidth == 1)
        return QImage(reinterpret_cast<const uchar*>(PixelAt(picture, region.Left, region.Top)),
                      int(columns), int(rows), picture.bytesPerLine() * cellHeight,
                      QImage::Format_RGB32);
    QImage cells(int(columns), int(rows), QImage::Format_RGB32);
    if (cells.isNull())
        return cells;
    for (qint64 k = 0; k < rows; ++k) {
        const QRgb* from = PixelAt(picture, region.Left, region.Top + k * cellHeight);
        QRgb* to = reinterpret_cast<QRgb*>(cells.scanLine(int(k)));
        for (qint64 i = 0; i < columns; ++i, from += cellWidth)
            to[i] = *from;
    }
    return cells;
}

QImage MeanPixels(const QImage& picture, const ScanRegion& region, int cellWidth, int cellHeight,
                  qint64 columns, qint64 rows) {
    QImage cells(int(columns), int(rows), QImage::Format_RGB32);
    if (cells.isNull())
        return cells;
    std::vector<quint64> sums;
    try {
        sums.resize(size_t(columns) * 3);
    } catch (const std::bad_alloc&) {
        return QImage();
    }
    for (qint64 k = 0; k < rows; ++k) {
        const qint64 top = region.Top + k * cellHeight;
        const qint64 bottom = std::min(top + cellHeight, region.Bottom);
        std::fill(sums.begin(), sums.end(), 0);
        for (qint64 y = top; y < bottom; ++y) {
            const QRgb* pixel = PixelAt(picture, region.Left, y);
            quint64* sum = sums.data();
            for (qint64 x = region.Left; x < region.Right; sum += 3) {
                const qint64 end = std::min(x + cellWidth, region.Right);
                for (; x < end; ++x, ++pixel) {
                    sum[0] += qRed(*pixel);
                    sum[1] += qGreen(*pixel);
                    sum[2] += qBlue(*pixel);
                }
            }
        }
        QRgb* to = reinterpret_cast<QRgb*>(cells.scanLine(int(k)));
        for (qint64 i = 0; i < columns; ++i) {
            const qint64 left = region.Left + i * cellWidth;
            const quint64 count =
                quint64(std::min(left + cellWidth, region.Right) - left) * quint64(bottom - top);
            const auto mean = [&](int channel) {
                return int((sums[size_t(i) * 3 + size_t(channel)] + count / 2) / count);
            };
            to[i] = qRgb(mean(0), mean(1), mean(2));
        }
    }
    return cells;
}

} // namespace

QImage SampleCells(const PictureSurface& picture, const ScanRegion& region, int cellWidth,
                   int cellHeight, CellSample sample) {
    const QImage& rgb = picture.Image(); // always Format_RGB32
    const qint64 columns = SampleCount(region.Left, region.Right, cellWidth);
    const qint64 rows = SampleCount(region.Top, region.Bottom, cellHeight);
    return sample == CellSample::Mean
               ? MeanPixels(rgb, region, cellWidth, cellHeight, columns, rows)
               : TopLeftPixels(rgb, region, cellWidth, cellHeight, columns, rows);
}

} // namespace mGlyfora
