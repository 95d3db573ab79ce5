// Pictures whose pixels lie on huge pages where the system allows.
#pragma once

#include <QImage>

namespace kavrin {

// A picture of `format` (one of 8 or 24 bits a pixel) with rows of
// width × bytesPerPixel bytes, its contents not set, in memory from
// AllocateLargeBuffer: a fresh map of 1.5 MB is otherwise touched 4 KB at a
// time, and each first touch costs a page fault. It behaves as any QImage.
QImage LargeImage(int width, int height, QImage::Format format, int bytesPerPixel);

}  // namespace kavrin
