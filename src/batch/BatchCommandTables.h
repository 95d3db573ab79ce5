// The options of every kavrin-batch command, one table per command (per kind
// for "series", whose kinds take different positions), and the usage written
// from them.
#pragma once

#include "CommandLine.h"

#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// Every command's forms, in the order the usage lists them.
std::span<const CommandForm> BatchCommandForms();

// Parses the words after `command` against its table. Throws std::invalid_argument.
ParsedCommandLine ParseBatchCommandLine(std::string_view command, const std::vector<std::string>& words);

// Parses the words after "export" against the georeferenced exports' forms
// (geotiff, contours, wells, mapworld). Throws std::invalid_argument.
ParsedCommandLine ParseGeoExportCommandLine(const std::vector<std::string>& words);

// The usage of every command, then what NAME and --fit take and where results go.
extern const std::string kBatchUsage;

// What the usage says after the commands' lines (what NAME and --fit take,
// where results go), for the manual page.
std::string_view BatchUsageNotes();

}  // namespace kavrin
