// The file formats a picture of the program is written in: the 24-bit bitmap
// of the specified commands, PNG with the same pixels, and the vector SVG and
// PDF; chosen by a file's name or by a word of the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrin {

enum class PictureFormat { Bitmap, Png, Svg, Pdf };

// The format a name's extension says (".bmp", ".png", ".svg", ".pdf", in any
// letter case); nothing for any other name.
std::optional<PictureFormat> PictureFormatOfName(std::string_view path);

// Whether the name ends in ".gif", in any letter case: the animation's name.
bool HasGifName(std::string_view path);

// The format of a word "bmp", "png", "svg" or "pdf"; nothing for any other.
std::optional<PictureFormat> PictureFormatNamed(std::string_view word);

// ".bmp", ".png", ".svg" or ".pdf".
std::string PictureExtension(PictureFormat format);

// A picture's size in pixels, "WIDTHxHEIGHT", each within the map's limits
// (16 … 8000, as MapOptions keeps them); nothing for any other text.
struct PictureSize {
    int width = 0, height = 0;
};
std::optional<PictureSize> ParsePictureSize(std::string_view text);

}  // namespace kavrin
