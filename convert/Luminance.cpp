// Luminance through two tables: sRGB to 16-bit linear light, and 16-bit linear light back
// to an sRGB byte. The weights are fixed point summing to exactly 1, so greys round-trip.
#include "convert/Luminance.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace mGlyfora {

namespace {

constexpr unsigned WeightRed = 13933;                            // 0.2126 x 65536
constexpr unsigned WeightGreen = 46871;                          // 0.7152 x 65536
constexpr unsigned WeightBlue = 65536 - WeightRed - WeightGreen; // 0.0722

struct Tables {
    std::array<std::uint16_t, 256> linear{};
    std::array<std::uint8_t, 65536> encoded{};
    Tables() {
        for (int v = 0; v < 256; ++v) {
            const double c = v / 255.0;
            const double l = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            linear[v] = std::uint16_t(std::lround(l * 65535));
        }
        for (int y = 0; y < 65536; ++y) {
            const double l = y / 65535.0;
            const double c = l <= 0.0031308 ? l * 12.92 : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
            encoded[y] = std::uint8_t(std::lround(c * 255));
        }
    }
};

const Tables& LuminanceTables() {
    static const Tables tables;
    return tables;
}

} // namespace

unsigned LuminanceByte(QRgb pixel) {
    const Tables& t = LuminanceTables();
    const std::uint32_t y = WeightRed * t.linear[qRed(pixel)] +
                            WeightGreen * t.linear[qGreen(pixel)] +
                            WeightBlue * t.linear[qBlue(pixel)];
    return t.encoded[(y + 32768) >> 16];
}

} // namespace mGlyfora
