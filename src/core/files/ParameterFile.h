// The parameter file (".dat"): the 21 edit texts and the order, one per line.
#pragma once

#include "model/ParameterTexts.h"

#include <string>

namespace kavrin {

class TextFileReader;

// Writes 22 lines (Edit1 … Edit21, then ComboBox1), each ended by CR LF,
// replacing any earlier file only once all are written.
void WriteParameterFile(const std::string& path, const ParameterTexts& texts);

// Reads the first 21 lines as Edit1 … Edit21; the order on line 22 is never
// read back. The whole file is checked first: a file of fewer than 21 lines,
// or with a text that is not a number, throws FileFormatError naming the line.
// Throws FileError when it cannot be read.
ParameterTexts ReadParameterFile(const std::string& path);

// Reads the next 21 lines of `file` into Edit1 … Edit21, each of which must be
// a number in either decimal separator; `kind` names the file in messages
// ("a parameter file"), which has at least `requiredLines` lines. Throws
// FileFormatError.
void ReadEditLines(TextFileReader& file, ParameterTexts& texts, int requiredLines, const std::string& kind);

// The next line of `file`, which must exist (the file has at least
// `requiredLines` lines). Throws FileFormatError.
std::string ReadRequiredLine(TextFileReader& file, int requiredLines, const std::string& kind);

}  // namespace kavrin
