// The command line of the kavrin-batch programs: every command's options as a
// table, one parser that reads any command against its table, and the usage
// written from the same tables, so what is accepted and what the usage shows
// cannot drift apart.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavrin {

// One row of a command's table.
struct CommandOption {
    std::string_view name = {};   // "--project"
    std::string_view value = {};  // its value as the usage names it ("FILE.kvr"); empty for a switch
    bool repeats = false;         // may be given again; every value is kept, in order
    bool required = false;        // must be given; for a choice, one of the choice must be
    int choice = 0;               // the options of one choice (1, 2, …) exclude each other
};

// One line of the usage: a command, the words one of which comes first
// ("grd|txt"; a command whose kinds take different options has one form per
// kind) and its options in the order the usage shows them. Options of one
// choice stand next to each other.
struct CommandForm {
    std::string_view command;  // "series"
    std::string_view kinds;    // "time", "grd|txt"; empty when nothing comes first
    std::span<const CommandOption> options;
    std::string_view operands = {};  // "DIR...": words that are no option, at least one; empty for none
};

// A command line that its table accepts.
class ParsedCommandLine {
public:
    const std::string& kind() const { return kind_; }  // the first word, when the command takes one
    bool given(std::string_view option) const;
    std::optional<std::string> value(std::string_view option) const;  // of an option given at most once
    std::vector<std::string> values(std::string_view option) const;   // of a repeating option, in order
    const std::vector<std::string>& operands() const { return operands_; }

private:
    friend ParsedCommandLine ParseCommandLine(std::span<const CommandForm>, std::string_view, const std::vector<std::string>&);
    std::string kind_;
    std::vector<std::pair<std::string_view, std::string>> given_;  // option, value ("" for a switch)
    std::vector<std::string> operands_;
};

// Reads the words after `command` against its forms in `forms`: the kind, then
// options in any order, a value being the word after its option whatever it
// looks like. Throws std::invalid_argument with one clear sentence for a kind
// or option the table does not have, a missing value, an option given twice
// that does not repeat, two options of one choice, and a required option left
// out.
ParsedCommandLine ParseCommandLine(std::span<const CommandForm> forms, std::string_view command,
                                   const std::vector<std::string>& words);

// The usage lines of `forms`, "usage: " before the first and spaces before the
// others, each wrapped under its first option at `width` columns.
std::string UsageOf(std::span<const CommandForm> forms, std::size_t width);

}  // namespace kavrin
