// Quarter turns as a blocked transposition (both sides stay in cache block by block);
// the half turn as reversed rows.
#include "imageops/RotateQuarter.h"

#include "imageops/ResultImage.h"

#include <algorithm>

namespace mGlyfora {

namespace {

constexpr int Block = 64;

// Writes source pixel (x, y) to result (h - 1 - y, x) for 90, to (y, w - 1 - x) for 270.
void Transpose(const QImage& source, QImage& result, bool clockwise) {
    const int w = source.width();
    const int h = source.height();
    const auto* srcBits = reinterpret_cast<const QRgb*>(source.constBits());
    const qsizetype srcStride = source.bytesPerLine() / qsizetype(sizeof(QRgb));
    auto* dstBits = reinterpret_cast<QRgb*>(result.bits());
    const qsizetype dstStride = result.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y0 = 0; y0 < h; y0 += Block) {
        const int y1 = std::min(y0 + Block, h);
        for (int x0 = 0; x0 < w; x0 += Block) {
            const int x1 = std::min(x0 + Block, w);
            for (int x = x0; x < x1; ++x) {
                QRgb* dst = clockwise ? dstBits + x * dstStride + (h - 1)
                                      : dstBits + (w - 1 - x) * dstStride;
                const QRgb* src = srcBits + x;
                if (clockwise) {
                    for (int y = y0; y < y1; ++y)
                        *(dst - y) = src[y * srcStride];
                } else {
                    for (int y = y0; y < y1; ++y)
                        dst[y] = src[y * srcStride];
                }
            }
        }
    }
}

void HalfTurn(const QImage& source, QImage& result) {
    const int w = source.width();
    const int h = source.height();
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(result.scanLine(h - 1 - y));
        std::reverse_copy(src, src + w, dst);
    }
}

} // namespace

bool RotateQuarter(PictureSurface& destination, const PictureSurface& source, qint16 angle) {
    if (angle != 90 && angle != 180 && angle != 270) {
        destination.Clear();
        return true;
    }
    const QImage& picture = source.Image();
    if (picture.isNull()) {
        destination.MutableImage() = QImage();
        return true;
    }
    const bool half = angle == 180;
    QImage result = half ? AllocateResult(picture.width(), picture.height())
                         : AllocateResult(picture.height(), picture.width());
    if (result.isNull())
        return false;
    if (half)
        HalfTurn(picture, result);
    else
        Transpose(picture, result, angle == 90);
    destination.MutableImage() = std::move(result);
    return true;
}

} // namespace mGlyfora
