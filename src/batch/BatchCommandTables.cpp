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
// The georeferenced exports: one time of a saved project, placed as the
// project (and each --set of Easting, Northing, Azimuth or CRS) says.
constexpr CommandOption kGeoTime{.name = "--time", .value = "T", .required = true, .choice = 1};
constexpr CommandOption kGeoFile{.name = "--file", .value = "RESULTS.txt", .required = true, .choice = 1};
constexpr CommandOption kGeoTiff[] = {
    kSavedProject,
    kGeoTime,
    kGeoFile,
    kSet,
    {.name = "--north-up", .value = "CELL"},
    {.name = "--to", .value = "FILE.tif", .required = true},
};
constexpr CommandOption kContours[] = {
    kSavedProject,
    kGeoTime,
    kGeoFile,
    kSet,
    {.name = "--levels", .value = "L,L,..."},
    {.name = "--filled"},
    {.name = "--to", .value = "FILE.gpkg|FILE.geojson", .required = true},
};
constexpr CommandOption kWells[] = {
    kSavedProject,
    kSet,
    kObservations,
    {.name = "--to", .value = "FILE.gpkg|FILE.geojson", .required = true},
};
constexpr CommandOption kMapWorld[] = {
    kSavedProject,
    {.name = "--time", .value = "T", .required = true},
    kSet,
    {.name = "--to", .value = "FILE.bmp", .required = true},
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
// What the map and the animation add to the plain map.
constexpr CommandOption kLogDecades{.name = "--log-decades", .value = "N"};
constexpr CommandOption kStandard{.name = "--standard", .value = "S"};
constexpr CommandOption kWellsTable{.name = "--wells", .value = "TABLE.txt"};
constexpr CommandOption kMap[] = {
    kSavedProject,
    {.name = "--time", .value = "TEXT", .required = true, .choice = 1},
    {.name = "--all", .required = true, .choice = 1},
    {.name = "--to", .value = "FILE.bmp|FOLDER", .required = true},
    kLogDecades,
    kStandard,
    kWellsTable,
};
constexpr CommandOption kAnimate[] = {
    kSavedProject,
    {.name = "--to", .value = "FILE.gif", .required = true},
    {.name = "--delay", .value = "MS"},
    kLogDecades,
    kStandard,
    kWellsTable,
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
    {.name = "--starts", .value = "N"},
    {.name = "--seed", .value = "K"},
    {.name = "--profile", .value = "NAME", .repeats = true},
};

constexpr CommandOption kUncertainty[] = {
    kSavedProject,
    kSet,
    kSteps,
    kZones,
    {.name = "--vary", .value = "NAME=DIST:ARGS", .repeats = true},
    {.name = "--from-fit", .value = "FIT.txt"},
    {.name = "--standard", .value = "S", .required = true},
    {.name = "--threshold", .value = "T", .repeats = true},
    {.name = "--realizations", .value = "N", .required = true},
    {.name = "--seed", .value = "K", .required = true},
    {.name = "--lhs"},
    {.name = "--time", .value = "T", .repeats = true},
    {.name = "--receptors", .value = "FILE.csv"},
    {.name = "--part", .value = "I/M"},
    {.name = "--to", .value = "DIR", .required = true},
};
constexpr CommandOption kMetrics[] = {
    kSavedProject,
    {.name = "--time", .value = "T"},
    {.name = "--standard", .value = "S", .required = true},
    {.name = "--beyond", .value = "D"},
};
constexpr CommandOption kMerge[] = {
    {.name = "--to", .value = "DIR", .required = true},
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
    {"metrics", "", kMetrics},
    {"fit", "", kFit},
    {"uncertainty", "", kUncertainty},
    {"merge", "", kMerge, "DIR..."},
    // The georeferenced exports last: "export" alone still asks for grd or txt,
    // the exports of the core; these are read against their own forms.
    {"export", "geotiff", kGeoTiff},
    {"export", "contours", kContours},
    {"export", "wells", kWells},
    {"export", "mapworld", kMapWorld},
};
constexpr std::size_t kGeoForms = 4;

// The usage wraps its lines before this column.
constexpr std::size_t kUsageWidth = 100;

}  // namespace

std::span<const CommandForm> BatchCommandForms()
{
    return kForms;
}

ParsedCommandLine ParseBatchCommandLine(std::string_view command, const std::vector<std::string>& words)
{
    return ParseCommandLine(std::span<const CommandForm>(kForms).first(std::size(kForms) - kGeoForms), command, words);
}

ParsedCommandLine ParseGeoExportCommandLine(const std::vector<std::string>& words)
{
    return ParseCommandLine(std::span<const CommandForm>(kForms).last(kGeoForms), "export", words);
}

const std::string kBatchUsage = UsageOf(kForms, kUsageWidth) +
                                "  --fit takes AlphaX, AlphaY, AlphaZ, Kxx, Retardation, Decay, C0, SourceWidth, SourceHeight,\n"
                                "  and what the source options use: SourceDecay, ReleaseEnd, ZoneConcentration2 … 20.\n"
                                "  NAME is Edit1 … Edit21, ComboBox1 or a field name (C0, SourceWidth, DX, GaussOrder, …), or a\n"
                                "  source option: SourceHistory=constant|decay|stop|steps, SourceDecay=RATE (1/day),\n"
                                "  SourceHalfLife=DAYS, ReleaseEnd=DAYS, ControlPlaneX=X, or the site placement stored with a\n"
                                "  saved project: Easting=E, Northing=N (metres, of x = 0, y = 0), Azimuth=DEGREES (of the\n"
                                "  flow, clockwise from grid north), CRS=EPSG:CODE|WKT|PROJ.\n"
                                "  --steps lists START,RELATIVE per line and makes the history steps; --zones lists\n"
                                "  Y,Z,WIDTH,HEIGHT,CONCENTRATION per line, every zone (the first is C0, SourceWidth,\n"
                                "  SourceHeight). --set applies after them.\n"
                                "  export geotiff, contours, wells and mapworld place the results on the site map as the\n"
                                "  project's placement says (--set may change it for the export), or keep the local x, y\n"
                                "  without a CRS; --north-up warps the GeoTIFF onto north-up cells of CELL metres;\n"
                                "  --levels are in mg/L (the map's levels when not given); --filled writes the polygons\n"
                                "  between levels instead of the lines; mapworld writes the map and its world file (.bpw).\n"
                                "  map and animate: --log-decades N colours the map over N decades (1 to 12) below C0 on a\n"
                                "  logarithmic scale; --standard S (mg/L) outlines the plume at S in bold black; --wells\n"
                                "  TABLE.txt (the calibration window's saved table) draws each row's x, y named by its row\n"
                                "  and coloured by its residual against the project's model.\n"
                                "  fit --project takes the observation table and the fit's choices the project stores when\n"
                                "  --obs and --fit are not given; the options given replace the stored ones.\n"
                                "  balance prints time,entered,decayed,dissolved,sorbed,discharge_control,discharge_edge\n"
                                "  (mg and mg/day) at each of the project's times.\n"
                                "  metrics prints time,length,width,area,max_beyond (m, m², mg/L) of the plume above the\n"
                                "  standard S (mg/L) at T or at each of the project's times; max_beyond is the largest\n"
                                "  concentration at x >= D, empty without --beyond. A measure cut short by the grid's edge\n"
                                "  is a lower bound, named on standard error.\n"
                                "  uncertainty draws each --vary NAME (AlphaX, AlphaY, AlphaZ, Kxx, GradH,\n"
                                "  Porosity, Retardation, Decay, C0, SourceWidth, SourceHeight, SourceDecay,\n"
                                "  ReleaseEnd, ZoneConcentration2 … 20) from uniform:LO,HI, normal:MEAN,SD,\n"
                                "  lognormal:MEDIAN,GSD or triangular:LO,MODE,HI, kept physical (no negative\n"
                                "  dispersivity, porosity at most 1); --from-fit FIT.txt reads what kavrin-batch\n"
                                "  fit printed and draws its parameters jointly from their covariance.\n"
                                "  --standard and up to 7 --threshold values in mg/L; N from 2 to 1000000\n"
                                "  realizations (Latin hypercube with --lhs); the project's times, or each --time;\n"
                                "  --receptors lists X,Y,Z per line (at most 50). DIR, made when missing, gets\n"
                                "  exceed_<T>_T<time>.grd, mean_, sd_, p05_, p50_ and p95_T<time>.grd,\n"
                                "  receptors.csv and plume_length.csv. --part I/M computes the I-th of M equal\n"
                                "  shares of the realizations into DIR/uncertainty.part; merge reads the parts'\n"
                                "  DIRs and writes the files of one run, byte for byte.\n"
                                "  Results go to $KAVRIN_ROOT, or $HOME/KAVRIN/ when it is not set.\n";

std::string_view BatchUsageNotes()
{
    return std::string_view(kBatchUsage).substr(UsageOf(kForms, kUsageWidth).size());
}

}  // namespace kavrin
