// Rotation by an entered angle. Source and canvas turn about the true centre of their
// pixel grids ((w - 1) / 2, (h - 1) / 2): a centre rounded to whole pixels, or a canvas
// origin taken from the twips bounds, shifts the picture by up to a pixel and a half and
// cuts off an edge line (at 90 degrees a whole column). The per-pixel source point is evaluated
// with exactly the operations of RotateSourcePoint, with the column and row terms computed once
// each, so the fast loop and the single-point routine agree to the last bit.
#include "imageops/RotateByAngle.h"

#include "imageops/ResultImage.h"
#include "platform/Rounding.h"
#include "platform/Twips.h"

#include <array>
#include <cmath>
#include <vector>

namespace mGlyfora {

namespace {

// pi as the program has always written it: 15 digits, not full precision.
constexpr double Pi15 = 3.14159265358979;

// Nearest whole number, halves to even (the default rounding mode), without a library
// call: adding and removing 1.5 * 2^52 leaves the rounded value. Exact for |v| < 2^51.
inline double RoundHalfEvenFast(double v) {
    constexpr double Magic = 6755399441055744.0;
    return (v + Magic) - Magic; // not folded: that would need -fassociative-math
}

} // namespace

RotatedCanvas RotatedBounds(int sourceWidth, int sourceHeight, double sine, double cosine,
                            double twipsPerPixelX, double twipsPerPixelY) {
    const double W = sourceWidth * twipsPerPixelX;
    const double H = sourceHeight * twipsPerPixelY;
    const qint64 cx = platform::RoundHalfEven(W / 2);
    const qint64 cy = platform::RoundHalfEven(H / 2);
    const std::array<std::array<double, 2>, 4> corners{{{double(-cx), double(-cy)},
                                                        {W - cx, double(-cy)},
                                                        {W - cx, H - cy},
                                                        {double(-cx), H - cy}}};
    qint64 maxX = 0, maxY = 0, minX = 0, minY = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const double rx = corners[i][0];
        const double ry = corners[i][1];
        const qint64 x = platform::RoundHalfEven(cx + rx * cosine - ry * sine);
        const qint64 y = platform::RoundHalfEven(cy + ry * cosine + rx * sine);
        if (i == 0) {
            minX = x;
            minY = y;
        }
        if (maxX < x)
            maxX = x;
        if (x < minX)
            minX = x;
        if (maxY < y)
            maxY = y;
        if (y < minY)
            minY = y;
    }
    RotatedCanvas canvas;
    canvas.widthTwips = maxX - minX;
    canvas.heightTwips = maxY - minY;
    // Whole pixels that cover the twips (a hair of tolerance for inexact twips per pixel).
    canvas.width =
        platform::RoundHalfEven<int>(std::ceil(double(canvas.widthTwips) / twipsPerPixelX - 1e-9));
    canvas.height =
        platform::RoundHalfEven<int>(std::ceil(double(canvas.heightTwips) / twipsPerPixelY - 1e-9));
    canvas.offsetX = (sourceWidth - 1) / 2.0 - (canvas.width - 1) / 2.0;
    canvas.offsetY = (sourceHeight - 1) / 2.0 - (canvas.height - 1) / 2.0;
    return canvas;
}

QPoint RotateSourcePoint(int sourceWidth, int sourceHeight, qint32 tx, qint32 ty, double offsetX,
                         double offsetY, double sine, double cosine) {
    const double cx = (sourceWidth - 1) / 2.0;
    const double cy = (sourceHeight - 1) / 2.0;
    const double dx = offsetX + tx - cx;
    const double dy = offsetY + ty - cy;
    const double sx = cx + dx * cosine - dy * sine;
    const double sy = cy + dy * cosine + dx * sine;
    return QPoint(platform::RoundHalfEven<int>(sx), platform::RoundHalfEven<int>(sy));
}

bool RotateByAngle(PictureSurface& destination, const PictureSurface& source, qint16 degrees,
                   bool clockwise, double twipsPerPixelX, double twipsPerPixelY) {
    const double theta = clockwise ? -double(degrees) : double(degrees);
    const double rad = theta * Pi15 / 180;
    RotationSin = std::sin(rad);
    RotationCos = std::cos(rad);
    const double sine = RotationSin;
    const double cosine = RotationCos;

    const QImage& picture = source.Image();
    const int sw = picture.width();
    const int sh = picture.height();
    const RotatedCanvas canvas =
        RotatedBounds(sw, sh, sine, cosine, twipsPerPixelX, twipsPerPixelY);
    if (canvas.width <= 0 || canvas.height <= 0) {
        destination.MutableImage() = QImage();
        return true;
    }
    QImage result = AllocateResult(canvas.width, canvas.height);
    if (result.isNull())
        return false;

    const QRgb background = destination.Background();
    const double cx = (sw - 1) / 2.0;
    const double cy = (sh - 1) / 2.0;
    // Column terms: cx + dx * cos and dx * sin, with dx = offset x + tx - cx.
    std::vector<double> columnX(static_cast<std::size_t>(canvas.width));
    std::vector<double> columnY(static_cast<std::size_t>(canvas.width));
    for (int tx = 0; tx < canvas.width; ++tx) {
        const double dx = canvas.offsetX + tx - cx;
        columnX[std::size_t(tx)] = cx + dx * cosine;
        columnY[std::size_t(tx)] = dx * sine;
    }
    const auto* srcBits = reinterpret_cast<const QRgb*>(picture.constBits());
    const qsizetype srcStride =
        picture.isNull() ? 0 : picture.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int ty = 0; ty < canvas.height; ++ty) {
        const double dy = canvas.offsetY + ty - cy;
        const double rowX = dy * sine;
        const double rowY = cy + dy * cosine;
        auto* dst = reinterpret_cast<QRgb*>(result.scanLine(ty));
        for (int tx = 0; tx < canvas.width; ++tx) {
            const double sx = RoundHalfEvenFast(columnX[std::size_t(tx)] - rowX);
            const double sy = RoundHalfEvenFast(rowY + columnY[std::size_t(tx)]);
            const bool inside = sx >= 0 && sx < sw && sy >= 0 && sy < sh;
            dst[tx] = inside ? srcBits[qsizetype(sy) * srcStride + qsizetype(sx)] : background;
        }
    }
    destination.MutableImage() = std::move(result);
    return true;
}

bool RotateByAngle(PictureSurface& destination, const PictureSurface& source, qint16 degrees,
                   bool clockwise) {
    return RotateByAngle(destination, source, degrees, clockwise, platform::TwipsPerPixelX(),
                         platform::TwipsPerPixelY());
}

} // namespace mGlyfora
