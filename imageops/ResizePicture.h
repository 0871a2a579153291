// Stretching a picture to a new size with nearest-neighbour sampling.
#pragma once

#include "imageops/PictureSurface.h"

namespace mGlyfora {

// The destination becomes the whole source stretched to width x height pixels (note the
// order of the arguments: height first). Destination pixel x samples source column
// floor((x + 0.5) * sourceWidth / width), rows alike; no smoothing. A width or height of
// 0 gives an empty picture. False, with the destination unchanged, for a negative size
// or one whose bitmap cannot be allocated.
bool ResizePicture(PictureSurface& destination, const PictureSurface& source, qint32 height,
                   qint32 width);

} // namespace mGlyfora
