// The part of the working picture that copy puts on the clipboard: the selection
// rectangle, or the whole picture when there is none.
#pragma once

#include "imageops/PictureSurface.h"
#include "imageops/SelectionRect.h"

namespace mGlyfora {

// The destination becomes the selected rectangle of the source (its values rounded half
// to even), or the whole source when the selection is not visible. Parts of the
// rectangle outside the source take the destination's background colour. False, with
// the destination unchanged, when the memory for it cannot be had.
bool CopySelection(PictureSurface& destination, const PictureSurface& source,
                   const SelectionRect& selection);

} // namespace mGlyfora
