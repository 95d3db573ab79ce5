// What a report's map adds around the plain picture: a logarithmic colour
// scale, the outline of the user's standard, the observation wells, axis
// titles with the flow arrow, and the picture's size. Everything at its
// default draws the plain 800 × 640 map pixel for pixel.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct MapOptions {
    bool logarithmicScale = false;
    int decades = 4;                 // of the logarithmic scale, below its top (1 … 12)
    std::optional<double> standard;  // mg/L, positive: outlined bold in black and named in the legend
    bool showWells = false;          // the calibration table's wells as named points
    bool axisTitles = false;         // "x (m)", "y (m)" and the flow direction's arrow
    int width = 800, height = 640;   // pixels of a saved picture (16 … 8000 each)

    bool isPlain() const { return *this == MapOptions{}; }
    friend bool operator==(const MapOptions&, const MapOptions&) = default;
};

// An observation well as the map draws it: its name (the table's row
// number), where it is, and its residual when a comparison exists.
struct MapWell {
    std::string name;
    double x = 0, y = 0;
    std::optional<double> residual;  // observed − calculated (mg/L)
};

// The options as one stored text, "scale=log;decades=4;standard=0.005;wells=1;axes=1;size=1600x1280",
// naming only what differs from the defaults ("" for the defaults); numbers with '.'.
std::string MapOptionsText(const MapOptions& options);

// The options a stored text names; anything missing, unknown or out of range
// keeps its default, so an old or damaged setting still draws a map.
MapOptions ParseMapOptionsText(const std::string& text);

}  // namespace kavrin
