// Huge-page advice and huge-page-aligned picture memory.
#include "platform/HugePages.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sys/mman.h>

namespace platform {

namespace {
constexpr std::size_t HugePageBytes = std::size_t(2) << 20;
// Below this an ordinary allocation is as quick.
constexpr std::size_t HugeImageThreshold = std::size_t(4) << 20;

void FreeImageMemory(void* memory) {
    std::free(memory);
}
} // namespace

void AdviseHugePages(void* data, std::size_t bytes) {
    const auto first = (std::uintptr_t(data) + HugePageBytes - 1) & ~(HugePageBytes - 1);
    const auto last = (std::uintptr_t(data) + bytes) & ~(HugePageBytes - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

QImage AllocateImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0 || format == QImage::Format_Invalid)
        return QImage();
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const std::int64_t bytesPerLine = ((std::int64_t(width) * depth + 31) / 32) * 4;
    const std::int64_t bytes = bytesPerLine * height;
    if (bytesPerLine > std::numeric_limits<int>::max() ||
        bytes < std::int64_t(HugeImageThreshold) || format == QImage::Format_Indexed8 ||
        format == QImage::Format_Mono || format == QImage::Format_MonoLSB)
        return QImage(width, height, format);
    const std::size_t rounded = (std::size_t(bytes) + HugePageBytes - 1) & ~(HugePageBytes - 1);
    void* memory = nullptr;
    if (::posix_memalign(&memory, HugePageBytes, rounded) != 0)
        return QImage();
    AdviseHugePages(memory, rounded);
    return QImage(static_cast<uchar*>(memory), width, height, qsizetype(bytesPerLine), format,
                  &FreeImageMemory, memory);
}

} // namespace platform
