// One line of a text file, read without reading the lines after it.
#pragma once

#include <string>

namespace kavrin {

struct TextLine {
    bool found = false;      // the file has that many lines
    std::string text;        // UTF-8, without its line end; "" when not found
    long long linesRead = 0; // lines seen up to it: the file's line count when not found
};

// The line `number` (from 1) of a file whose lines end in CR LF, LF or CR.
// Reads the file in blocks and stops at that line. A file that cannot be
// opened or read throws FileError.
TextLine ReadTextLine(const std::string& path, long long number);

}  // namespace kavrin
