// Runs the real kavrin-batch, as a user's shell does, for the batch tests.
#pragma once

#include "TestSupport.h"

#include <string>
#include <vector>

namespace kavrin::test {

struct BatchResult {
    int status;
    std::string out, err;
    std::string lastLine() const;  // of stdout
};

// `word` in single quotes for the shell.
std::string ShellQuoted(const std::string& word);

// Runs kavrin-batch with `args`, the workspace root inside `folder` and
// `separator` as the decimal separator; stdout and stderr are kept.
BatchResult RunBatch(const TempFolder& folder, const std::vector<std::string>& args, const char* separator = ",");

}  // namespace kavrin::test
