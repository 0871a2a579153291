// Colour correction through one 256-entry table per channel, row by row.
#include "imageops/AdjustColor.h"

#include "imageops/ResultImage.h"

#include <array>

namespace mGlyfora {

namespace {

using ChannelTable = std::array<quint32, 256>;

// Channel value v becomes v + offset, clamped to 0..255, placed at the channel's shift.
ChannelTable MakeTable(qint16 offset, int shift) {
    ChannelTable table{};
    for (int v = 0; v < 256; ++v) {
        int moved = v + offset; // int: no 16-bit overflow for extreme offsets
        if (moved >= 256)
            moved = 255;
        if (moved < 0)
            moved = 0;
        table[std::size_t(v)] = quint32(moved) << shift;
    }
    return table;
}

} // namespace

bool AdjustColor(PictureSurface& destination, const PictureSurface& source, qint16 redOffset,
                 qint16 greenOffset, qint16 blueOffset) {
    const ChannelTable red = MakeTable(redOffset, 16);
    const ChannelTable green = MakeTable(greenOffset, 8);
    const ChannelTable blue = MakeTable(blueOffset, 0);
    return TransformRows(destination, source, [&](const QImage& picture, QImage& result, int y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(result.scanLine(y));
        const int width = picture.width();
        for (int x = 0; x < width; ++x) {
            const QRgb p = src[x];
            dst[x] = 0xFF000000u | red[p >> 16 & 0xFFu] | green[p >> 8 & 0xFFu] | blue[p & 0xFFu];
        }
    });
}

} // namespace mGlyfora
