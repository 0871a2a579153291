// Mirroring a picture left to right or top to bottom.
#pragma once

#include "imageops/PictureSurface.h"

namespace mGlyfora {

// Pixel (x, y) of the destination gets pixel (w - 1 - x, y) of the source. False, with
// the destination unchanged, when the result cannot be allocated.
bool MirrorHorizontal(PictureSurface& destination, const PictureSurface& source);
// Pixel (x, y) of the destination gets pixel (x, h - 1 - y) of the source.
bool MirrorVertical(PictureSurface& destination, const PictureSurface& source);

} // namespace mGlyfora
