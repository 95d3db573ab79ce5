#include "BatchCommandTables.h"

namespace kavrin {

namespace {

// The model's texts: a parameter file or a project, then each --set.
constexpr CommandOption kParams{.name = "--params", .value = "FILE.dat", .choice = 1};
constexpr CommandOption kProject{.name = "--project", .value = "FILE.kvr", .choice = 1};
constexpr CommandOption kSet{.name = "--set", .value = "NAME=TEXT", .repeats = true};
// The source's step table and zones, from CSV files.
constexpr CommandOption kSteps{.name = "--steps", .value = "FILE.csv"};
constexpr CommandOption kZones{.name = "--zones", .value = "FILE.csv"};
// The saved project the exports, series and pictures read.
constexpr CommandOption kSavedProject{.name = "--project", .value = "FILE.kvr", .required = true};
constexpr CommandOption kObservations{.name = "--obs", .value = "TABLE.txt", .required = true};
// A fit may take the table and its choices from the project instead.
constexpr CommandOption kFitObservations{.name = "--obs", .value = "TABLE.txt"};

constexpr CommandOption kRun[] = {
    kParams,
    kProject,
    kSet,
    kSteps,
    kZones,
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
constexpr CommandOption kCompare[] = {kParams, kProject, kSet, kSteps, kZones, kObservations};
constexpr CommandOption kBalance[] = {kSavedProject, kSet, kSteps, kZones};
constexpr CommandOption kFit[] = {
    kParams,
    kProject,
    kSet,
    kSteps,
    kZones,
    kFitObservations,
    {.name = "--fit", .value = "NAME,NAME,..."},
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
    {"balance", "", kBalance},
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
                                "  --fit takes AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight,\n"
                                "  and what the source options use: SourceDecay, ReleaseEnd, ZoneConcentration2 … 20.\n"
                                "  NAME is Edit1 … Edit21, ComboBox1 or a field name (C0, SourceWidth, DX, GaussOrder, …), or a\n"
                                "  source option: SourceHistory=constant|decay|stop|steps, SourceDecay=RATE (1/day),\n"
                                "  SourceHalfLife=DAYS, ReleaseEnd=DAYS, ControlPlaneX=X.\n"
                                "  --steps lists START,RELATIVE per line and makes the history steps; --zones lists\n"
                                "  Y,Z,WIDTH,HEIGHT,CONCENTRATION per line, every zone (the first is C0, SourceWidth,\n"
                                "  SourceHeight). --set applies after them.\n"
                                "  fit --project takes the observation table and the fit's choices the project stores when\n"
                                "  --obs and --fit are not given; the options given replace the stored ones.\n"
                                "  balance prints time,entered,decayed,dissolved,sorbed,discharge_control,discharge_edge\n"
                                "  (mg and mg/day) at each of the project's times.\n"
                                "  Results go to $KAVRIN_ROOT, or $HOME/KAVRIN/ when it is not set.\n";

std::string_view BatchUsageNotes()
{
    return std::string_view(kBatchUsage).substr(UsageOf(kForms, kUsageWidth).size());
}

}  // namespace kavrin
