#include "gui/LargeImage.h"

#include "solution/LargeBuffer.h"

#include <cstddef>

namespace kavrin {

namespace {

// The buffer's size travels in front of the pixels, for the cleanup.
constexpr std::size_t kHeader = 64;

void freeImageMemory(void* start)
{
    FreeLargeBuffer(start, *static_cast<std::size_t*>(start));
}

}  // namespace

QImage LargeImage(int width, int height, QImage::Format format, int bytesPerPixel)
{
    // Rows rounded up to whole 32-bit words, as QImage lays them out itself.
    const qsizetype bytesPerLine = (static_cast<qsizetype>(width) * bytesPerPixel + 3) / 4 * 4;
    const std::size_t bytes = kHeader + static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height);
    void* start = AllocateLargeBuffer(bytes);
    *static_cast<std::size_t*>(start) = bytes;
    return QImage(static_cast<uchar*>(start) + kHeader, width, height, bytesPerLine, format, freeImageMemory, start);
}

}  // namespace kavrin
