// The fuzz targets: each reader of outside data, fed one input. A target
// returns normally for every input the reader refuses with a clear message;
// anything else (a crash, a sanitizer report, an escaping exception, a broken
// promise of the reader) is a finding.
#pragma once

#include <string>
#include <string_view>

namespace kavrin::fuzz {

struct FuzzTarget {
    const char* name;  // the folder of its seeds and stored failures
    void (*run)(const std::string& input);
};

void ProjectFile(const std::string& input);
void ParameterFile(const std::string& input);
void ResultFile(const std::string& input);
void NumberText(const std::string& input);
void Windows1252(const std::string& input);
void QuadratureTable(const std::string& input);
void LanguageFile(const std::string& input);
void BatchCommandLine(const std::string& input);
void Exports(const std::string& input);
void ObservationImport(const std::string& input);
void FitObservationsTarget(const std::string& input);
void Map(const std::string& input);
void ChartSeries(const std::string& input);
void SourceTables(const std::string& input);
void Uncertainty(const std::string& input);

inline constexpr FuzzTarget kFuzzTargets[] = {
    {"project_file", ProjectFile},
    {"parameter_file", ParameterFile},
    {"result_file", ResultFile},
    {"number_text", NumberText},
    {"windows1252", Windows1252},
    {"quadrature_table", QuadratureTable},
    {"language_file", LanguageFile},
    {"batch_command_line", BatchCommandLine},
    {"exports", Exports},
    {"observation_import", ObservationImport},
    {"fit_observations", FitObservationsTarget},
    {"map", Map},
    {"chart_series", ChartSeries},
    {"source_tables", SourceTables},
    {"uncertainty", Uncertainty},
};

// A target's input for the exports: the project file's length in the first two
// bytes (little-endian), the project file, then the results file.
std::string ExportsInput(const std::string& projectFile, const std::string& resultsFile);

}  // namespace kavrin::fuzz
