// Quarter and half turns of a picture, mapping every pixel exactly.
#pragma once

#include "imageops/PictureSurface.h"

namespace mGlyfora {

// Turns the source into the destination: 90 clockwise (the top-left pixel goes to the
// top-right corner), 180, or 270 (counter-clockwise, top-left to bottom-left). Any other
// angle only clears the destination. False, with the destination unchanged, when the
// turned picture cannot be allocated.
bool RotateQuarter(PictureSurface& destination, const PictureSurface& source, qint16 angle);

} // namespace mGlyfora
