// Centring a dialog over the main window.
#include "platform/DialogPlacement.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

namespace {
std::int32_t CentredEdge(double mainEdge, double mainExtent, double dialogExtent) {
    const double edge = mainEdge + (mainExtent - dialogExtent) / 2;
    if (std::isnan(edge))
        return 0;
    // Clamp before rounding: a value past the 64-bit range would not convert at all.
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(RoundHalfEven(std::clamp(edge, low, high)));
}
} // namespace

TwipsPosition CentredOver(double mainLeft, double mainTop, double mainWidth, double mainHeight,
                          double dialogWidth, double dialogHeight) {
    return {CentredEdge(mainLeft, mainWidth, dialogWidth),
            CentredEdge(mainTop, mainHeight, dialogHeight)};
}

} // namespace platform
