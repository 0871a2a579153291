// Large buffers backed by transparent huge pages. A picture or a result is filled in one
// pass, page by page; with 4 KiB pages the page faults alone can cost as much as the
// work itself.
#pragma once

#include <QImage>
#include <cstddef>

namespace platform {

// Asks the kernel to back the whole 2 MiB pages inside [data, data + bytes) with huge
// pages where it can. Harmless where it cannot.
void AdviseHugePages(void* data, std::size_t bytes);

// A picture of the given size and format whose pixel memory is huge-page aligned and
// advised; a null image when the memory cannot be had. Small pictures get an ordinary
// QImage. The contents are uninitialised.
QImage AllocateImage(int width, int height, QImage::Format format);

} // namespace platform
