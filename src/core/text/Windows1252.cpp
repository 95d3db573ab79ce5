#include "text/Windows1252.h"

#include <array>
#include <cstdint>

namespace kavrin {

namespace {

// Code points of the bytes 0x80…0x9F. The five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) are the control characters of the
// same numbers, as Windows reads and writes them, so that every byte read
// is written back as it was.
constexpr std::array<char32_t, 32> kHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Next code point of a UTF-8 text; a malformed byte stands for itself (Latin-1).
char32_t nextCodePoint(const std::string& text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    const std::uint8_t lead = byte(i);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return lead;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const std::uint8_t next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

int windows1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t k = 0; k < kHighControls.size(); ++k)
        if (kHighControls[k] == c) return static_cast<int>(0x80 + k);
    return -1;
}

}  // namespace

std::string Windows1252ToUtf8(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b >= 0x80 && b <= 0x9F)
            appendUtf8(out, kHighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToWindows1252(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const int b = windows1252Byte(nextCodePoint(text, i));
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
    }
    return out;
}

bool HoldsC1Control(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = nextCodePoint(text, i);
        if (c >= 0x80 && c <= 0x9F) return true;
    }
    return false;
}

bool FitsWindows1252(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();)
        if (windows1252Byte(nextCodePoint(text, i)) < 0) return false;
    return true;
}

}  // namespace kavrin
