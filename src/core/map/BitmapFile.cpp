#include "map/BitmapFile.h"

#include "map/PictureFile.h"

namespace kavrin {

namespace {

void put(std::string& out, std::size_t at, std::uint32_t value, int bytes)
{
    for (int b = 0; b < bytes; ++b) out[at + static_cast<std::size_t>(b)] = static_cast<char>((value >> (8 * b)) & 0xFF);
}

}  // namespace

std::string EncodeBitmap(const std::uint8_t* rgb, int width, int height, std::ptrdiff_t stride)
{
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t header = 54, size = header + rowBytes * static_cast<std::size_t>(height);
    std::string out(size, '\0');
    out[0] = 'B', out[1] = 'M';
    put(out, 2, static_cast<std::uint32_t>(size), 4);
    put(out, 10, static_cast<std::uint32_t>(header), 4);
    put(out, 14, 40, 4);  // BITMAPINFOHEADER
    put(out, 18, static_cast<std::uint32_t>(width), 4);
    put(out, 22, static_cast<std::uint32_t>(height), 4);
    put(out, 26, 1, 2);   // planes
    put(out, 28, 24, 2);  // bits per pixel; compression 0: none
    put(out, 34, static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(height)), 4);
    put(out, 38, 2835, 4);  // 72 dots per inch
    put(out, 42, 2835, 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = rgb + static_cast<std::ptrdiff_t>(y) * stride;
        char* target = out.data() + header + rowBytes * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x, source += 3, target += 3) {
            target[0] = static_cast<char>(source[2]);
            target[1] = static_cast<char>(source[1]);
            target[2] = static_cast<char>(source[0]);
        }
    }
    return out;
}

void WriteBitmapFile(const std::string& path, const std::uint8_t* rgb, int width, int height, std::ptrdiff_t stride)
{
    WritePictureFile(path, EncodeBitmap(rgb, width, height, stride));
}

}  // namespace kavrin
