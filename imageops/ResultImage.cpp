// Result memory for the picture routines, refused past the picture allocation limit.
#include "imageops/ResultImage.h"

#include "imageops/PictureLoader.h"
#include "platform/HugePages.h"

namespace mGlyfora {

QImage AllocateResult(int width, int height) {
    if (width <= 0 || height <= 0 || qint64(width) * height * 4 > PictureAllocationLimitBytes)
        return QImage();
    return platform::AllocateImage(width, height, QImage::Format_RGB32);
}

} // namespace mGlyfora
