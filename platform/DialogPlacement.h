// The one centring rule for windows and dialogs: the arithmetic in twips, halves rounded
// to even, in 32 bits so that a window far out on a second monitor still centres its
// dialogs, and converted to pixels only at the end.
#pragma once

#include <cstdint>

namespace platform {

// The edge, in whole twips, that centres an extent of `inner` twips on one of `outer`
// twips starting at `start`: start + (outer - inner) / 2, rounded with halves to even and
// held within the 32-bit range (NaN gives 0).
std::int32_t CentredEdge(double start, double outer, double inner);

// The same rule for pixels: the edge worked out in twips, then back to whole pixels.
int CentredPixels(int start, int outer, int inner, double twipsPerPixel);

struct TwipsPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// A dialog centred over the main window, both axes by CentredEdge.
TwipsPosition CentredOver(double mainLeft, double mainTop, double mainWidth, double mainHeight,
                          double dialogWidth, double dialogHeight);

} // namespace platform
