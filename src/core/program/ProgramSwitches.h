// The switches every KAVRIN program answers on its own, before anything else
// is read or started, and the desktop program's command line. The programs and
// their manual pages take them from here, so the two cannot disagree.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// One switch: its spellings ("--help", "-h") and what it does, as the manual
// page says it.
struct ProgramSwitch {
    std::string_view name;
    std::string_view shortName;  // empty when there is none
    std::string_view purpose;
};

// --help and --version, in the order the manual pages list them.
std::span<const ProgramSwitch> ProgramSwitches();

// "kavrin-batch 0.1", the answer to --version.
std::string VersionLine(std::string_view program);

// When `words` (the arguments after the program's name) is one switch alone,
// writes its answer to `out` (`usage` for --help, the version line for
// --version) and returns the exit status 0; otherwise nothing.
std::optional<int> AnswerProgramSwitch(std::string_view program, const std::vector<std::string>& words, std::string_view usage,
                                       std::ostream& out);

// The desktop program's argument: a project file opened at start.
inline constexpr std::string_view kDesktopProjectArgument = "FILE.kvr";

// The usage of the desktop program: "usage: kavrin [FILE.kvr]", then its switches.
std::string DesktopUsage();

}  // namespace kavrin
