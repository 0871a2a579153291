// One cell of the HTML scan: a "■" in the cell's exact colour.
#pragma once

#include "platform/Colour.h"

#include <QString>

namespace mGlyfora {

// "<FONT COLOR=\"#RRGGBB\">■</FONT>", upper-case hexadecimal digits, 30 characters.
QString MakeColorCell(Colour colour);

// The same element as UTF-8 bytes: the fixed opening and closing with the six digits at
// ColorCellDigitsOffset.
inline constexpr char ColorCellTemplate[] = "<FONT COLOR=\"#000000\">\xE2\x96\xA0</FONT>";
inline constexpr int ColorCellBytes = int(sizeof(ColorCellTemplate)) - 1; // 32
inline constexpr int ColorCellUnits = 30;                                 // UTF-16 units
inline constexpr int ColorCellDigitsOffset = 14;

// Two upper-case hexadecimal digits for every byte value.
struct HexPairTable {
    char pairs[256][2];
    constexpr HexPairTable() : pairs() {
        constexpr char digits[] = "0123456789ABCDEF";
        for (int v = 0; v < 256; ++v) {
            pairs[v][0] = digits[v >> 4];
            pairs[v][1] = digits[v & 15];
        }
    }
};
inline constexpr HexPairTable HexPairs;

} // namespace mGlyfora
