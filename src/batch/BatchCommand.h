// What the kavrin-batch programs share: the environment read once at start,
// performing one command with the tool's exit statuses, and handing a command
// over to the sibling program that carries it.
#pragma once

#include "BatchOptions.h"

#include <iostream>
#include <stdexcept>
#include <string>

namespace kavrin {

// The workspace root, the quadrature table next to the programs, the decimal
// separator, and a progress line when standard error is a terminal.
BatchEnvironment ReadBatchEnvironment();

// Parses a command line, then performs it: status 2 with the usage for a wrong
// command line, 1 with a one-line message for a failure, 0 for success.
template <class Parse, class Perform>
int RunBatchCommand(const Parse& parse, const Perform& perform)
{
    decltype(parse()) options;
    try {
        options = parse();
    } catch (const std::invalid_argument& error) {
        std::cerr << "kavrin-batch: " << error.what() << "\n" << kBatchUsage;
        return 2;
    }
    try {
        perform(options);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "kavrin-batch: " << error.what() << std::endl;
        return 1;
    }
}

// Replaces this process by `program` from the programs' own folder with the
// same arguments. Returns only when it cannot be started: status 1 and why.
int HandOverTo(const std::string& program, char** argv);

}  // namespace kavrin
