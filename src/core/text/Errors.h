// The failures a command can end with, each carrying the text the user sees.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kavrin {

// Base of every failure the program reports to the user and then goes on.
class KavrinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not a number of the kind asked for.
class ConversionError : public KavrinError {
public:
    using KavrinError::KavrinError;
    static ConversionError floatValue(const std::string& text);
    static ConversionError integerValue(const std::string& text);
};

// A floating-point fault: division by zero, an invalid operation, an overflow.
class FloatError : public KavrinError {
public:
    using KavrinError::KavrinError;
    static FloatError divisionByZero();
    static FloatError invalidOperation();
    static FloatError overflow();
};

// At most kExcerptLength characters of a text, "…" marking a cut: what a
// message quotes of text that came from outside.
constexpr std::size_t kExcerptLength = 60;
std::string Excerpt(const std::string& text);

// A file that cannot be opened, read, created or written.
class FileError : public KavrinError {
public:
    FileError(int code, const std::string& path);
    int code() const { return code_; }

    // Something at the path that is not a regular file (a folder, a device, a pipe).
    static FileError notRegularFile(const std::string& path);

private:
    FileError(int code, const std::string& text, bool);
    int code_;
};

// A file that opens but is not what the command reads: the message names the
// file, the line and what is wrong with it.
class FileFormatError : public KavrinError {
public:
    FileFormatError(const std::string& path, int line, const std::string& problem);
};

// One of the program's own checks refused the command (bad grid, bad name...).
class CheckError : public KavrinError {
public:
    using KavrinError::KavrinError;
};

}  // namespace kavrin
