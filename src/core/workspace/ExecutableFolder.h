// The folder of the running executable, where the program's data files lie.
#pragma once

#include <string>

namespace kavrin {

// Ends with "/"; "./" when the executable cannot be located.
std::string ExecutableFolder();

}  // namespace kavrin
