// Saving a text file so that a failure never leaves a half-written file in
// place of the one that was there.
#pragma once

#include <string>
#include <vector>

namespace kavrin {

// Writes the lines (UTF-8, stored as Windows-1252, each ended by CR LF) to a
// temporary file in the same folder and then renames it over `path`. A failure
// throws FileError, removes the temporary file and leaves `path` untouched.
void SaveTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace kavrin
