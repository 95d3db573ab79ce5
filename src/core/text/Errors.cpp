#include "text/Errors.h"

#include <cerrno>
#include <cstring>

namespace kavrin {

std::string Excerpt(const std::string& text)
{
    std::size_t end = 0;
    for (std::size_t characters = 0; end < text.size(); ++characters) {
        if (characters == kExcerptLength) return text.substr(0, end) + "…";
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;  // UTF-8 continuation
    }
    return text;
}

namespace {
// Built by appending: g++ 12 warns falsely about a chain of "+" around a substring.
std::string quoted(const char* quote, const std::string& text, const char* rest)
{
    std::string message(quote);
    message.append(Excerpt(text)).append(quote).append(rest);
    return message;
}
}  // namespace

ConversionError ConversionError::floatValue(const std::string& text)
{
    return ConversionError(quoted("'", text, " is not a valid floating point value"));
}

ConversionError ConversionError::integerValue(const std::string& text)
{
    return ConversionError(quoted("''", text, " is not a valid integer value"));
}

FloatError FloatError::divisionByZero()
{
    return FloatError("Floating point division by zero");
}
FloatError FloatError::invalidOperation()
{
    return FloatError("Invalid floating point operation");
}
FloatError FloatError::overflow()
{
    return FloatError("Floating point overflow");
}

namespace {
std::string fileErrorText(int code, const std::string& path)
{
    std::string head;
    switch (code) {
    case EACCES:
    case EPERM:
        head = "File access denied";
        break;
    case ENOSPC:
        head = "Disk full";
        break;
    default:
        head = "I/O error " + std::to_string(code);
        break;
    }
    return head + ": " + path + " (" + std::strerror(code) + ")";
}
}  // namespace

FileError::FileError(int code, const std::string& path) : KavrinError(fileErrorText(code, path)), code_(code) {}

FileError::FileError(int code, const std::string& text, bool) : KavrinError(text), code_(code) {}

FileError FileError::notRegularFile(const std::string& path)
{
    return FileError(EINVAL, path + " is not a file (a folder, a device or a pipe); choose a file.", true);
}

FileFormatError::FileFormatError(const std::string& path, int line, const std::string& problem)
    : KavrinError(path + ", line " + std::to_string(line) + ": " + problem)
{
}

}  // namespace kavrin
