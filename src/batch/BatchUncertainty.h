// The headless uncertainty maps: `kavrin-batch uncertainty` draws the
// realizations of a saved project's model and writes the Surfer grids,
// receptors.csv, plume_length.csv and a summary, or with --part I/M the part
// file of its share; `kavrin-batch merge` turns the parts into the files of
// one run.
#pragma once

#include "BatchOptions.h"

#include <ostream>
#include <string>
#include <vector>

namespace kavrin {

struct BatchUncertaintyOptions {
    BatchBalanceOptions model;                 // --project FILE.kvr, --set, --steps, --zones
    std::vector<std::string> varied;           // --vary NAME=DIST:ARGS
    std::optional<std::string> fitPath;        // --from-fit FIT.txt
    std::string standard;                      // --standard S
    std::vector<std::string> thresholds;       // --threshold T
    std::string realizations, seed;            // --realizations N, --seed K
    bool latinHypercube = false;               // --lhs
    std::vector<std::string> times;            // --time T; the project's times when none
    std::optional<std::string> receptorsPath;  // --receptors FILE.csv
    std::optional<std::string> part;           // --part I/M
    std::string to;                            // --to DIR
};

// Parses the words after "uncertainty". Throws std::invalid_argument.
BatchUncertaintyOptions ParseBatchUncertaintyOptions(const std::vector<std::string>& words);

// Checks everything, then computes and writes. Throws KavrinError (and
// UncertaintyError with the settings' refusal) before anything is written.
void PerformBatchUncertainty(const BatchUncertaintyOptions& options, const BatchEnvironment& environment, std::ostream& out);

struct BatchMergeOptions {
    std::vector<std::string> parts;  // DIR...
    std::string to;                  // --to DIR
};

// Parses the words after "merge". Throws std::invalid_argument.
BatchMergeOptions ParseBatchMergeOptions(const std::vector<std::string>& words);

// Reads and checks every part, then writes the files of one run and its summary.
void PerformBatchMerge(const BatchMergeOptions& options, std::ostream& out);

}  // namespace kavrin
