// The headless run: the data window's initial texts, a parameter or project
// file, the --set texts, then the same run steps as the desktop Run command.
#pragma once

#include "BatchOptions.h"
#include "model/ParameterTexts.h"

#include <atomic>
#include <cstddef>
#include <ostream>
#include <string>

namespace kavrin {

// Values no aquifer or source can have, refused by name before anything is
// computed or written (CheckError with the English text).
void RefuseImpossibleTexts(const ParameterTexts& texts, char separator);

// The data window's initial texts, then a parameter or project file, the
// --steps and --zones tables, then each --set in order. Throws KavrinError, or
// std::invalid_argument for an unknown name.
ParameterTexts BatchParameterTexts(const std::optional<std::string>& paramsPath, const std::optional<std::string>& projectPath,
                                   const std::vector<std::pair<std::string, std::string>>& sets, char separator,
                                   const std::optional<std::string>& stepsPath = {},
                                   const std::optional<std::string>& zonesPath = {});

// A stop asked from outside (SIGINT, SIGTERM): the signal's number once one
// came, and what the run had written when it stopped.
struct BatchRunStop {
    const std::atomic<int>& signal;
    bool stopped = false;          // the run ended before its last time
    std::size_t timesWritten = 0;  // the complete times, all listed in the index
    std::size_t times = 0;         // the times of the whole run
};

// Returns the project folder's path. Throws KavrinError (conversion, file,
// floating-point, refused checks, a run whose files would share a name or not
// fit on the disk); the options have been parsed. With `stop`, a signal ends
// the run once the time being written is complete (the project file of
// --save is written all the same: it points to the complete times).
std::string PerformBatchRun(const BatchRunOptions& options, const BatchEnvironment& environment, BatchRunStop* stop = nullptr);

}  // namespace kavrin
