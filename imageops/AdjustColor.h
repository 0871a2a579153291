// Colour correction: a signed offset added to the red, green and blue of every pixel.
#pragma once

#include "imageops/PictureSurface.h"

namespace mGlyfora {

// The destination becomes the source with each channel moved by its offset and clamped
// to 0..255; it is always computed from the source, so repeated previews never add up.
// False, with the destination unchanged, when the result cannot be allocated.
bool AdjustColor(PictureSurface& destination, const PictureSurface& source, qint16 redOffset,
                 qint16 greenOffset, qint16 blueOffset);

} // namespace mGlyfora
