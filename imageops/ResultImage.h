// Memory for the result of a picture routine. A result is built beside its source and
// only then handed to the destination, so a failed allocation leaves both as they were.
#pragma once

#include <QImage>

namespace mGlyfora {

// A 32-bit picture of the given size with uninitialised pixels; null when it would pass
// the picture allocation limit or the memory cannot be had. Big ones use huge pages.
QImage AllocateResult(int width, int height);

} // namespace mGlyfora
