// The values of a time file's rows, read for a grid of a known shape.
#pragma once

#include "solution/LargeBuffer.h"
#include "workspace/ResultShape.h"

#include <optional>
#include <string>
#include <string_view>

namespace kavrin {

// Appends the blank-ended values of one row (text after the last blank is no
// value); a value that does not convert throws ConversionError.
void AppendRowValues(std::string_view line, char separator, LargeBuffer<double>& values);

// The rows of the time file `path` read through a TextFileReader, each
// checked with CheckResultRow and its values appended; returns the number of
// rows. Any file: its errors are the reader's, the row checks' and the
// values' own.
int ReadResultValuesByLines(const std::string& path, const ResultShape& shape, char separator, LargeBuffer<double>& values);

// The rows of the time file `path` straight from its bytes, when it is plain
// ASCII text: each row checked with CheckResultRow and its values appended,
// as a TextFileReader's lines would be, with the same errors at the same
// line. Returns the number of rows; none, having appended nothing, for a
// file holding any other byte, a line longer than a text file may have, or
// one too large or changing to be read at once: the line reader reads those.
std::optional<int> ReadPlainResultValues(const std::string& path, const ResultShape& shape, char separator,
                                         LargeBuffer<double>& values);

}  // namespace kavrin
