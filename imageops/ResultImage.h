// Memory for the result of a picture routine. A result is built beside its source and
// only then handed to the destination, so a failed allocation leaves both as they were.
#pragma once

#include "imageops/PictureSurface.h"

#include <QImage>
#include <utility>

namespace mGlyfora {

// A 32-bit picture of the given size with uninitialised pixels; null when it would pass
// the picture allocation limit or the memory cannot be had. Big ones use huge pages.
QImage AllocateResult(int width, int height);

// A result of the source's size made row by row: rowFn(source, result, y) fills row y.
// An empty source gives an empty picture; false (both untouched) when memory is short.
template <typename RowFn>
bool TransformRows(PictureSurface& destination, const PictureSurface& source, RowFn rowFn) {
    const QImage& picture = source.Image();
    if (picture.isNull()) {
        destination.MutableImage() = QImage();
        return true;
    }
    QImage result = AllocateResult(picture.width(), picture.height());
    if (result.isNull())
        return false;
    for (int y = 0; y < picture.height(); ++y)
        rowFn(picture, result, y);
    destination.MutableImage() = std::move(result);
    return true;
}

} // namespace mGlyfora
