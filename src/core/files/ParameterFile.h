// The parameter file (".dat"): the 21 edit texts and the order, one per line.
#pragma once

#include "model/ParameterTexts.h"

#include <string>

namespace kavrin {

// Writes 22 lines (Edit1 … Edit21, then ComboBox1), each ended by CR LF.
void WriteParameterFile(const std::string& path, const ParameterTexts& texts);

// Reads the first 21 lines as Edit1 … Edit21 (missing lines are empty); the
// order on line 22 is never read back. Throws FileError.
ParameterTexts ReadParameterFile(const std::string& path);

}  // namespace kavrin
