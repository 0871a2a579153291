// Colour to HTML cell element.
#include "convert/MakeColorCell.h"

#include <algorithm>

namespace mGlyfora {

QString MakeColorCell(Colour colour) {
    char bytes[ColorCellBytes];
    std::copy_n(ColorCellTemplate, ColorCellBytes, bytes);
    // Red sits in the low byte, so the value's bytes are written in reverse order.
    for (int i = 0; i < 3; ++i) {
        const unsigned component = colour >> (8 * i) & 0xFFu;
        bytes[ColorCellDigitsOffset + 2 * i] = HexPairs.pairs[component][0];
        bytes[ColorCellDigitsOffset + 2 * i + 1] = HexPairs.pairs[component][1];
    }
    return QString::fromUtf8(bytes, ColorCellBytes);
}

} // namespace mGlyfora
