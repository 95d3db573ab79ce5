// Each kavrin-batch command's options, taken from the command line that its
// table (BatchCommandTables) accepts.
#pragma once

#include "BatchCommandTables.h"
#include "calibration/ObservationWeights.h"
#include "map/MapOptions.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// What the commands take from the machine, read once when the tool starts.
struct BatchEnvironment {
    std::string root;
    std::string valoresPath;
    char separator = '.';
    std::ostream* progress = nullptr;  // one updating line, or nothing
};

struct BatchRunOptions {
    std::optional<std::string> paramsPath;                  // --params FILE.dat
    std::optional<std::string> projectPath;                 // --project FILE.kvr
    std::vector<std::pair<std::string, std::string>> sets;  // --set NAME=TEXT, in order
    std::optional<std::string> stepsPath, zonesPath;        // --steps FILE.csv, --zones FILE.csv
    std::optional<std::string> projectName;                 // --name PROJECT
    std::optional<std::string> savePath;                    // --save FILE.kvr
    bool reference = false;                                 // --reference
};

// Parses the words after "run". Throws std::invalid_argument with a clear text.
BatchRunOptions ParseBatchRunOptions(const std::vector<std::string>& words);

struct BatchExportOptions {
    bool grid = true;                        // grd, or txt for tables
    std::string projectPath;                 // --project FILE.kvr
    std::optional<std::string> resultsPath;  // --file RESULTS.txt: one file instead of every time
    std::string to;                          // --to BASE or NAME
};

// Parses the words after "export". Throws std::invalid_argument.
BatchExportOptions ParseBatchExportOptions(const std::vector<std::string>& words);

struct BatchGeoExportOptions {
    enum class Kind { GeoTiff, Contours, Wells, MapWorld } kind = Kind::GeoTiff;
    std::string projectPath;                                // --project FILE.kvr
    std::optional<std::string> time;                        // --time T, as in the time's file name
    std::optional<std::string> resultsPath;                 // --file RESULTS.txt instead of a time
    std::vector<std::pair<std::string, std::string>> sets;  // --set of the placement's names, in order
    std::optional<double> northUpCell;                      // --north-up CELL (geotiff)
    std::vector<double> levels;                             // --levels L,L,... (contours)
    bool filled = false;                                    // --filled (contours)
    std::optional<std::string> observationsPath;            // --obs TABLE.txt (wells)
    std::string to;                                         // --to NAME
};

// Whether "export KIND" is one of the georeferenced exports.
bool IsGeoExportKind(const std::string& kind);

// Parses the words after "export" of a georeferenced export; a --set takes
// only Easting, Northing, Azimuth and CRS, and --north-up and --levels take
// numbers with a point. Throws std::invalid_argument.
BatchGeoExportOptions ParseBatchGeoExportOptions(const std::vector<std::string>& words);

struct BatchSeriesOptions {
    enum class Kind { Time, Longitudinal, Transversal } kind = Kind::Time;  // time, long or trans
    std::string projectPath;                                                // --project FILE.kvr
    std::optional<std::string> x;     // --x X: the node's x (time) or the profile's x (trans)
    std::optional<std::string> y;     // --y Y: the node's y (time) or the profile's y (long)
    std::optional<std::string> time;  // --time T: the time of a profile, as its file is named
};

// Parses the words after "series"; each kind needs its two positions. Throws std::invalid_argument.
BatchSeriesOptions ParseBatchSeriesOptions(const std::vector<std::string>& words);
struct BatchMapOptions {
    std::string projectPath;               // --project FILE.kvr
    std::optional<std::string> time;       // --time TEXT: one time, as in its file name
    bool all = false;                      // --all: every time of the project
    std::string to;                        // --to FILE.bmp, or FOLDER with --all
    MapOptions picture;                    // --log-decades N, --standard S, and wells with --wells
    std::optional<std::string> wellsPath;  // --wells TABLE.txt
};

// Parses the words after "map". Throws std::invalid_argument.
BatchMapOptions ParseBatchMapOptions(const std::vector<std::string>& words);

struct BatchAnimateOptions {
    std::string projectPath;               // --project FILE.kvr
    std::string to;                        // --to FILE.gif
    int delayMs = 2000;                    // --delay MS: each frame's time on screen, the player's default
    MapOptions picture;                    // --log-decades N, --standard S, and wells with --wells
    std::optional<std::string> wellsPath;  // --wells TABLE.txt
};

// Parses the words after "animate". Throws std::invalid_argument.
BatchAnimateOptions ParseBatchAnimateOptions(const std::vector<std::string>& words);

struct BatchCompareOptions {
    std::optional<std::string> paramsPath;                  // --params FILE.dat
    std::optional<std::string> projectPath;                 // --project FILE.kvr
    std::vector<std::pair<std::string, std::string>> sets;  // --set NAME=TEXT, in order
    std::optional<std::string> stepsPath, zonesPath;        // --steps FILE.csv, --zones FILE.csv
    std::string observationsPath;                           // --obs TABLE.txt; a fit may leave it empty
};

// Parses the words after "compare". Throws std::invalid_argument.
BatchCompareOptions ParseBatchCompareOptions(const std::vector<std::string>& words);

struct BatchBalanceOptions {
    std::optional<std::string> paramsPath;                  // never given: balance reads a saved project
    std::optional<std::string> projectPath;                 // --project FILE.kvr
    std::vector<std::pair<std::string, std::string>> sets;  // --set NAME=TEXT, in order
    std::optional<std::string> stepsPath, zonesPath;        // --steps FILE.csv, --zones FILE.csv
};

// Parses the words after "balance". Throws std::invalid_argument.
BatchBalanceOptions ParseBatchBalanceOptions(const std::vector<std::string>& words);

// The model's texts and --obs of a parsed "compare" or "fit". Throws
// std::invalid_argument for a --set of an unknown name.
BatchCompareOptions ComparisonOptionsOf(const ParsedCommandLine& parsed);

// The model's texts of any command that takes --project, --set, --steps and --zones.
BatchBalanceOptions ModelOptionsOf(const ParsedCommandLine& parsed);

// The items of "A,B,C".
std::vector<std::string> CommaSeparated(const std::string& text);

struct BatchFitBounds {
    std::string name, lower, upper;  // --bounds NAME=LO:HI
};

struct BatchFitOptions {
    BatchCompareOptions comparison;  // the model's texts and --obs
    // A fit with --project leaves out what the project stores: the table,
    // the parameters and their bounds, the log option, the weights rule and
    // the detection limit; what is given replaces what is stored.
    std::vector<std::string> parameters;        // --fit AlphaX,AlphaY,…
    bool logResiduals = false;                  // --log
    std::optional<std::string> detectionLimit;  // --detection-limit DL
    WeightRule weights = WeightRule::Table;     // --weights table|relative
    bool weightsGiven = false;
    std::vector<BatchFitBounds> bounds;
    std::optional<std::string> savePath;  // --save FITTED.kvr
    int starts = 1;                       // --starts N: Latin hypercube starts (1: the given start alone)
    std::uint64_t seed = 1;               // --seed K of the starts
    std::vector<std::string> profiles;    // --profile NAME: a profile-likelihood interval of each
};

// Parses the words after "fit". Throws std::invalid_argument.
BatchFitOptions ParseBatchFitOptions(const std::vector<std::string>& words);

}  // namespace kavrin
