// A pixel's brightness as luminance for the program's own scan: Rec. 709 weights over the
// sRGB-decoded components, encoded back to 0..255. A grey (v, v, v) keeps v, so greys
// convert exactly as with the largest component; colours take their true lightness
// (pure red 127, pure green 220, pure blue 76 instead of 255).
#pragma once

#include <QRgb>

namespace mGlyfora {

unsigned LuminanceByte(QRgb pixel);

} // namespace mGlyfora
