// The bytes of an uncompressed 24-bit Windows bitmap (BMP) of a picture of
// 24-bit RGB pixels: what the map and the animation frames are saved as.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kavrin {

// Rows bottom-up, each pixel blue, green, red, each row padded to four bytes.
std::string EncodeBitmap(const std::uint8_t* rgb, int width, int height, std::ptrdiff_t stride);

}  // namespace kavrin
