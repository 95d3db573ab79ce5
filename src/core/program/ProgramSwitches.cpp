#include "program/ProgramSwitches.h"

#include "program/ProgramVersion.h"

namespace kavrin {

namespace {

constexpr ProgramSwitch kSwitches[] = {
    {"--help", "-h", "Prints the usage and exits."},
    {"--version", "", "Prints the program's name and version and exits."},
};

}  // namespace

std::span<const ProgramSwitch> ProgramSwitches()
{
    return kSwitches;
}

std::string VersionLine(std::string_view program)
{
    return std::string(program) + " " + std::string(kProgramVersion);
}

std::optional<int> AnswerProgramSwitch(std::string_view program, const std::vector<std::string>& words, std::string_view usage,
                                       std::ostream& out)
{
    if (words.size() != 1) return std::nullopt;
    for (const ProgramSwitch& programSwitch : kSwitches) {
        if (words[0] != programSwitch.name && (programSwitch.shortName.empty() || words[0] != programSwitch.shortName)) continue;
        if (programSwitch.name == "--version")
            out << VersionLine(program) << "\n";
        else
            out << usage;
        return 0;
    }
    return std::nullopt;
}

std::string DesktopUsage()
{
    std::string usage = "usage: kavrin [" + std::string(kDesktopProjectArgument) + "]\n";
    for (const ProgramSwitch& programSwitch : kSwitches) usage += "       kavrin " + std::string(programSwitch.name) + "\n";
    return usage;
}

}  // namespace kavrin
