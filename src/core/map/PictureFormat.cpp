#include "map/PictureFormat.h"

#include <array>
#include <cctype>
#include <charconv>

namespace kavrin {

namespace {

struct Named {
    PictureFormat format;
    std::string_view word;
};
constexpr std::array<Named, 4> kFormats{{
    {PictureFormat::Bitmap, "bmp"},
    {PictureFormat::Png, "png"},
    {PictureFormat::Svg, "svg"},
    {PictureFormat::Pdf, "pdf"},
}};

constexpr int kSmallestSide = 16, kLargestSide = 8000;

bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// A side of 16 … 8000 pixels written in decimal digits alone.
std::optional<int> side(std::string_view digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || digits.front() == '+' ||
        value < kSmallestSide || value > kLargestSide)
        return std::nullopt;
    return value;
}

// The letters after the name's last dot; empty when it has none. A bare
// extension (".png", "maps/.png") is a name without one.
std::string_view extensionOf(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || dot == 0 || (slash != std::string_view::npos && dot <= slash + 1)) return {};
    return path.substr(dot + 1);
}

}  // namespace

std::optional<PictureFormat> PictureFormatOfName(std::string_view path)
{
    for (const Named& named : kFormats)
        if (sameLetters(extensionOf(path), named.word)) return named.format;
    return std::nullopt;
}

bool HasGifName(std::string_view path)
{
    return sameLetters(extensionOf(path), "gif");
}

std::optional<PictureFormat> PictureFormatNamed(std::string_view word)
{
    for (const Named& named : kFormats)
        if (word == named.word) return named.format;
    return std::nullopt;
}

std::string PictureExtension(PictureFormat format)
{
    for (const Named& named : kFormats)
        if (named.format == format) return "." + std::string(named.word);
    return {};
}

std::optional<PictureSize> ParsePictureSize(std::string_view text)
{
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    const std::optional<int> width = side(text.substr(0, x)), height = side(text.substr(x + 1));
    if (!width || !height) return std::nullopt;
    return PictureSize{*width, *height};
}

}  // namespace kavrin
