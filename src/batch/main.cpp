// kavrin-batch: the model run without a window.
#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "engine/DecimalSeparator.h"
#include "engine/Errors.h"
#include "engine/ExecutableFolder.h"
#include "engine/Workspace.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        std::cout << kBatchUsage;
        return words.empty() ? 2 : 0;
    }
    if (words[0] != "run") {
        std::cerr << "kavrin-batch: unknown command \"" << words[0] << "\"\n" << kBatchUsage;
        return 2;
    }
    BatchRunOptions options;
    try {
        options = ParseBatchRunOptions(std::vector<std::string>(words.begin() + 1, words.end()));
    } catch (const std::invalid_argument& error) {
        std::cerr << "kavrin-batch: " << error.what() << "\n" << kBatchUsage;
        return 2;
    }
    BatchEnvironment environment;
    environment.root = WorkspaceRoot();
    environment.valoresPath = ExecutableFolder() + "valores.txt";
    environment.separator = SystemDecimalSeparator();
    if (::isatty(STDERR_FILENO)) environment.progress = &std::cerr;
    try {
        std::cout << PerformBatchRun(options, environment) << std::endl;
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavrin-batch: " << error.what() << std::endl;
        return 1;
    }
}
