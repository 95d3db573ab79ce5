#include "text/Errors.h"

#include <cerrno>
#include <cstring>

namespace kavrin {

ConversionError ConversionError::floatValue(const std::string& text)
{
    return ConversionError("'" + text + "' is not a valid floating point value");
}

ConversionError ConversionError::integerValue(const std::string& text)
{
    return ConversionError("''" + text + "'' is not a valid integer value");
}

FloatError FloatError::divisionByZero() { return FloatError("Floating point division by zero"); }
FloatError FloatError::invalidOperation() { return FloatError("Invalid floating point operation"); }
FloatError FloatError::overflow() { return FloatError("Floating point overflow"); }

namespace {
std::string fileErrorText(int code, const std::string& path)
{
    std::string head;
    switch (code) {
    case EACCES:
    case EPERM: head = "File access denied"; break;
    case ENOSPC: head = "Disk full"; break;
    default: head = "I/O error " + std::to_string(code); break;
    }
    return head + ": " + path + " (" + std::strerror(code) + ")";
}
}  // namespace

FileError::FileError(int code, const std::string& path)
    : KavrinError(fileErrorText(code, path)), code_(code)
{
}

}  // namespace kavrin
