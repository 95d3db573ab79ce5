// Conversion between the program's UTF-8 strings and Windows-1252 file bytes.
#pragma once

#include <string>

namespace kavrin {

std::string Windows1252ToUtf8(const std::string& bytes);

// Characters that Windows-1252 cannot hold become "?".
std::string Utf8ToWindows1252(const std::string& text);

// Whether every character of the UTF-8 text has a Windows-1252 byte.
bool FitsWindows1252(const std::string& text);

// Whether the UTF-8 text holds one of the control characters U+0080…U+009F,
// which is what the bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D of a file read as.
bool HoldsC1Control(const std::string& text);

}  // namespace kavrin
