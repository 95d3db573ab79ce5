// What the map's options add to the plain picture: the standard's outline,
// the observation wells, the axis titles with the flow arrow, and the legend
// that names them. None of it is drawn with the options at their defaults.
#pragma once

#include "contour/CellRanges.h"
#include "contour/ContourGrid.h"
#include "map/MapGeometry.h"
#include "map/MapOptionTexts.h"
#include "map/MapOptions.h"
#include "map/MapPicture.h"

#include <vector>

namespace kavrin {

// The bold black width of the standard's outline, in pixels.
inline constexpr int kStandardPenWidth = 3;
// The wells' colours: observed above calculated, below it, and without a residual.
inline constexpr Rgb kResidualPositive{255, 0, 255};
inline constexpr Rgb kResidualNegative{0, 0, 0};
inline constexpr Rgb kWellPlain{255, 255, 255};

// The contour of `standard` over the drawn grid as bold black lines, each
// segment also mirrored about the centre line where the map mirrors.
void AddStandardOutline(double standard, const ContourGrid& contour, const CellRanges& ranges, const MapGeometry& g,
                        std::vector<MapShape>& shapes);

// Whether any drawn node reaches `standard`.
bool StandardReached(double standard, const ContourGrid& contour);

// The pixel of the point (x, y) on the plot, y = Y1 on its top edge as the
// axis labels have it; nothing for a point outside the plot.
std::optional<PixelPoint> PlotPixelOf(double x, double y, const ModelState& model, const MapGeometry& g);

// No character of a well's name (a digit, the comma or the space) is wider
// than this in the map's font, in pixels.
inline constexpr int kWellNameCharWidth = 7;

// Each well inside the plot as a small square in its residual's colour with
// its name beside it; returns how many were left out. Wells at one point are
// one square, in stripes when their residuals' colours differ, with their
// names joined ("3, 7"). A name stays inside the plot, clear of the axis
// labels: right of its square, or left of it where it would pass the right
// edge; level with the square, or moved only as far as the top or bottom
// edge asks.
int AddWells(const std::vector<MapWell>& wells, const ModelState& model, const MapGeometry& g, std::vector<MapShape>& shapes);

// "x (m)" under the plot, "y (m)" over its left labels, and the flow's arrow (+x).
void AddAxisTitles(const MapGeometry& g, const MapOptionTexts& texts, std::vector<MapShape>& shapes);

// What the legend under the colour scale names.
struct MapLegend {
    std::optional<std::string> standard;  // the standard's number text
    bool standardReached = true;
    bool wells = false;
    bool positive = false, negative = false;  // residuals of each sign drawn
    int wellsLeftOut = 0;
};
void AddLegend(const MapLegend& legend, const MapOptionTexts& texts, std::vector<MapShape>& shapes);

// Everything above that the request's options ask for, after the plain map:
// the wells, the axis titles and the legend (the standard's outline is drawn
// with the levels, under the frame).
void AddOptionShapes(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes);

// The words of `text` in lines of at most `width` characters (a longer word alone).
std::vector<std::string> WrappedLines(const std::string& text, std::size_t width);

}  // namespace kavrin
