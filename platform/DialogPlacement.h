// Where a fixed dialog goes when it is centred over the main window: the arithmetic in
// twips, halves rounded to even, in 32 bits so that a window far out on a second
// monitor still centres its dialogs.
#pragma once

#include <cstdint>

namespace platform {

struct TwipsPosition {
    std::int32_t left = 0;
    std::int32_t top = 0;
};

// left = main left + (main width - dialog width) / 2, top likewise, each rounded to a whole
// twip with halves to even; results beyond 32 bits are held at the 32-bit limits.
TwipsPosition CentredOver(double mainLeft, double mainTop, double mainWidth, double mainHeight,
                          double dialogWidth, double dialogHeight);

} // namespace platform
