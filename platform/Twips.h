// Twips (1/1440 inch) per screen pixel, as the screen reports it, and the one conversion
// from twips to whole pixels.
#pragma once

#include <climits>

namespace platform {

// 1440 / logical DPI of the primary screen; 15 when there is no screen (96 DPI).
double TwipsPerPixelX();
double TwipsPerPixelY();

// Twips to whole pixels, halves to even, held within [min, max] before the conversion: a
// stored edge of 1e30 twips becomes max, not whatever the cast would make of it.
int PixelsFromTwips(double twips, double twipsPerPixel, int min = INT_MIN, int max = INT_MAX);

} // namespace platform
