// What every fuzz target uses: reporting a broken promise, and files in one
// scratch folder per process for the readers to open.
#pragma once

#include <string>

namespace kavrin::fuzz {

// A broken promise of the code under test: reported as a crash.
void require(bool condition, const char* what);

// The process's scratch folder, with its slash.
const std::string& scratchFolder();

// Writes the bytes to `name` in the scratch folder; its path.
std::string scratchFile(const std::string& name, const std::string& bytes);

}  // namespace kavrin::fuzz
