// Centring a window or dialog, in twips.
#include "platform/DialogPlacement.h"

#include "platform/Rounding.h"
#include "platform/Twips.h"

namespace platform {

std::int32_t CentredEdge(double start, double outer, double inner) {
    return RoundHalfEven<std::int32_t>(start + (outer - inner) / 2);
}

int CentredPixels(int start, int outer, int inner, double twipsPerPixel) {
    return PixelsFromTwips(
        CentredEdge(start * twipsPerPixel, outer * twipsPerPixel, inner * twipsPerPixel),
        twipsPerPixel);
}

TwipsPosition CentredOver(double mainLeft, double mainTop, double mainWidth, double mainHeight,
                          double dialogWidth, double dialogHeight) {
    return {CentredEdge(mainLeft, mainWidth, dialogWidth),
            CentredEdge(mainTop, mainHeight, dialogHeight)};
}

} // namespace platform
