#include "BatchCommandTables.h"

namespace kavrin {

namespace {

// The model's texts: a parameter file or a project, then each --set.
constexpr CommandOption kParams{.name = "--params", .value = "FILE.dat", .choice = 1};
constexpr CommandOption kProject{.name = "--project", .value = "FILE.kvr", .choice = 1};
constexpr CommandOption kSet{.name = "--set", .value = "NAME=TEXT", .repeats = true};
// The saved project the exports, series and pictures read.
constexpr CommandOption kSavedProject{.name = "--project", .value = "FILE.kvr", .required = true};
constexpr CommandOption kObservations{.name = "--obs", .value = "TABLE.txt", .required = true};

constexpr CommandOption kRun[] = {
    kParams,
    kProject,
    kSet,
    {.name = "--name", .value = "PROJECT"},
    {.name = "--save", .value = "FILE.kvr"},
    {.name = "--reference"},
};
constexpr CommandOption kExport[] = {
    kSavedProject,
    {.name = "--file", .value = "RESULTS.txt"},
    {.name = "--to", .value = "NAME", .required = true},
};
constexpr CommandOption kSeriesTime[] = {
    kSavedProject,
    {.name = "--x", .value = "X", .required = true},
    {.name = "--y", .value = "Y", .required = true},
};
constexpr CommandOption kSeriesLong[] = {
    kSavedProject,
    {.name = "--time", .value = "T", .required = true},
    {.name = "--y", .value = "Y", .required = true},
};
constexpr CommandOption kSeriesTrans[] = {
    kSavedProject,
    {.name = "--time", .value = "T", .required = true},
    {.name = "--x", .value = "X", .required = true},
};
constexpr CommandOption kMap[] = {
    kSavedProject,
    {.name = "--time", .value = "TEXT", .required = true, .choice = 1},
    {.name = "--all", .required = true, .choice = 1},
    {.name = "--to", .value = "FILE.bmp|FOLDER", .required = true},
};
constexpr CommandOption kAnimate[] = {
    kSavedProject,
    {.name = "--to", .value = "FILE.gif", .required = true},
    {.name = "--delay", .value = "MS"},
};
constexpr CommandOption kCompare[] = {kParams, kProject, kSet, kObservations};
constexpr CommandOption kFit[] = {
    kParams,
    kProject,
    kSet,
    kObservations,
    {.name = "--fit", .value = "NAME,NAME,...", .required = true},
    {.name = "--log"},
    {.name = "--detection-limit", .value = "DL"},
    {.name = "--weights", .value = "table|relative"},
    {.name = "--bounds", .value = "NAME=LO:HI", .repeats = true},
    {.name = "--save", .value = "FITTED.kvr"},
};

constexpr CommandForm kForms[] = {
    {"run", "", kRun},
    {"export", "grd|txt", kExport},
    {"series", "time", kSeriesTime},
    {"series", "long", kSeriesLong},
    {"series", "trans", kSeriesTrans},
    {"map", "", kMap},
    {"animate", "", kAnimate},
    {"compare", "", kCompare},
    {"fit", "", kFit},
};

// The usage wraps its lines before this column.
constexpr std::size_t kUsageWidth = 100;

}  // namespace

std::span<const CommandForm> BatchCommandForms()
{
    return kForms;
}

ParsedCommandLine ParseBatchCommandLine(std::string_view command, const std::vector<std::string>& words)
{
    return ParseCommandLine(kForms, command, words);
}

const std::string kBatchUsage = UsageOf(kForms, kUsageWidth) +
                                "  --fit takes AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight.\n"
                                "  NAME is Edit1 … Edit21, ComboBox1 or a field name (C0, SourceWidth, DX, GaussOrder, …).\n"
                                "  Results go to $KAVRIN_ROOT, or $HOME/KAVRIN/ when it is not set.\n";

}  // namespace kavrin
