// Nearest-neighbour stretch: a precomputed column map, and rows that repeat their
// predecessor's source row are copied whole.
#include "imageops/ResizePicture.h"

#include "imageops/ResultImage.h"

#include <cstring>
#include <vector>

namespace mGlyfora {

namespace {

// The source index sampled by each of `to` destination indices (centres map to centres).
std::vector<int> SampleMap(int from, int to) {
    std::vector<int> map(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i)
        map[std::size_t(i)] = int((qint64(2 * qint64(i) + 1) * from) / (2 * qint64(to)));
    return map;
}

} // namespace

bool ResizePicture(PictureSurface& destination, const PictureSurface& source, qint32 height,
                   qint32 width) {
    if (width < 0 || height < 0)
        return false;
    if (width == 0 || height == 0) {
        destination.MutableImage() = QImage();
        return true;
    }
    QImage result = AllocateResult(width, height);
    if (result.isNull())
        return false;
    const QImage& picture = source.Image();
    if (picture.isNull()) {
        result.fill(destination.Background());
        destination.MutableImage() = std::move(result);
        return true;
    }
    const std::vector<int> columns = SampleMap(picture.width(), width);
    const std::vector<int> rows = SampleMap(picture.height(), height);
    const std::size_t rowBytes = std::size_t(width) * sizeof(QRgb);
    for (int y = 0; y < height; ++y) {
        auto* dst = reinterpret_cast<QRgb*>(result.scanLine(y));
        if (y > 0 && rows[std::size_t(y)] == rows[std::size_t(y) - 1]) {
            std::memcpy(dst, result.constScanLine(y - 1), rowBytes);
            continue;
        }
        const auto* src =
            reinterpret_cast<const QRgb*>(picture.constScanLine(rows[std::size_t(y)]));
        const int* column = columns.data();
        for (int x = 0; x < width; ++x)
            dst[x] = src[column[x]];
    }
    destination.MutableImage() = std::move(result);
    return true;
}

} // namespace mGlyfora
