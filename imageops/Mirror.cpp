// The two mirrors, row by row: reversed rows, or rows copied in reverse order.
#include "imageops/Mirror.h"

#include "imageops/ResultImage.h"

#include <algorithm>
#include <cstring>

namespace mGlyfora {

bool MirrorHorizontal(PictureSurface& destination, const PictureSurface& source) {
    return TransformRows(destination, source, [](const QImage& picture, QImage& result, int y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::reverse_copy(src, src + picture.width(), reinterpret_cast<QRgb*>(result.scanLine(y)));
    });
}

bool MirrorVertical(PictureSurface& destination, const PictureSurface& source) {
    return TransformRows(destination, source, [](const QImage& picture, QImage& result, int y) {
        std::memcpy(result.scanLine(y), picture.constScanLine(picture.height() - 1 - y),
                    std::size_t(picture.width()) * sizeof(QRgb));
    });
}

} // namespace mGlyfora
