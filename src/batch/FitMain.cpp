// kavrin-batch-fit: the fit command of kavrin-batch, in a program of its own
// because the solver's libraries take time to load that a run should not pay.
#include "BatchCommand.h"
#include "BatchFit.h"
#include "program/ProgramSwitches.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (const auto status = AnswerProgramSwitch("kavrin-batch-fit", words, kBatchUsage, std::cout)) return *status;
    if (words.empty() || words[0] != "fit") {
        std::cerr << kBatchUsage;
        return 2;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    return RunBatchCommand([&] { return ParseBatchFitOptions(rest); },
                           [&](const BatchFitOptions& options) { PerformBatchFit(options, environment, std::cout); });
}
