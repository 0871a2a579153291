// The two mirrors, row by row: reversed rows, or rows copied in reverse order.
#include "imageops/Mirror.h"

#include "imageops/ResultImage.h"

#include <algorithm>
#include <cstring>

namespace mGlyfora {

namespace {

template <typename CopyRow>
bool Mirror(PictureSurface& destination, const PictureSurface& source, CopyRow copyRow) {
    const QImage& picture = source.Image();
    if (picture.isNull()) {
        destination.MutableImage() = QImage();
        return true;
    }
    QImage result = AllocateResult(picture.width(), picture.height());
    if (result.isNull())
        return false;
    for (int y = 0; y < picture.height(); ++y)
        copyRow(picture, result, y);
    destination.MutableImage() = std::move(result);
    return true;
}

} // namespace

bool MirrorHorizontal(PictureSurface& destination, const PictureSurface& source) {
    return Mirror(destination, source, [](const QImage& picture, QImage& result, int y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::reverse_copy(src, src + picture.width(), reinterpret_cast<QRgb*>(result.scanLine(y)));
    });
}

bool MirrorVertical(PictureSurface& destination, const PictureSurface& source) {
    return Mirror(destination, source, [](const QImage& picture, QImage& result, int y) {
        std::memcpy(result.scanLine(y), picture.constScanLine(picture.height() - 1 - y),
                    std::size_t(picture.width()) * sizeof(QRgb));
    });
}

} // namespace mGlyfora
