// One line of a text file, read without reading the lines after it.
#pragma once

#include <climits>
#include <string>

namespace kavrin {

struct TextLine {
    bool found = false;       // the file has that many lines
    std::string text;         // UTF-8, without its line end; "" when not found
    long long linesRead = 0;  // lines seen: up to it, or the file's line count (see LinesCounted)
};

// How far a line's reading goes: stop at the line, or go on to the file's end
// so that linesRead is the file's line count (or, past `countLimit` lines,
// countLimit + 1: the file has more lines than that).
enum class LinesCounted { UpToTheLine, WholeFile };

// The line `number` (from 1) of a file whose lines end in CR LF, LF or CR.
// Reads the file in blocks and, unless asked to count them all, stops at that
// line. Only a regular file is read, opened without blocking (a pipe waits for
// no writer). A file that cannot be opened or read, or that is not a regular
// file, throws FileError; a line of more than TextFileReader's
// kMaximumLineLength bytes throws FileFormatError.
TextLine ReadTextLine(const std::string& path, long long number, LinesCounted counted = LinesCounted::UpToTheLine,
                      long long countLimit = LLONG_MAX);

}  // namespace kavrin
