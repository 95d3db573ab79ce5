// Uncompressed 24-bit Windows bitmaps (BMP) of pictures of 24-bit RGB pixels:
// what the map, the animation frames and the charts are saved as, whatever
// the file's name says.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavrin {

// Rows bottom-up, each pixel blue, green, red, each row padded to four bytes.
std::string EncodeBitmap(const std::uint8_t* rgb, int width, int height, std::ptrdiff_t stride);

// Writes the bitmap at exactly `path`, replacing any file there (as a
// PictureFileWriter does); a failure leaves an earlier file intact and throws
// FileError with the system's cause.
void WriteBitmapFile(const std::string& path, const std::uint8_t* rgb, int width, int height, std::ptrdiff_t stride);

}  // namespace kavrin
