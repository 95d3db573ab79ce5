// The uncertainty run's maps drawn as the concentration map is: a map of
// probabilities on the colour scale 0 … 1 with its 5, 50 and 95 % outlines,
// and a map of concentrations (a percentile, the mean, the standard
// deviation) on the model's concentration scale.
#pragma once

#include "map/MapPicture.h"
#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <string>
#include <vector>

namespace kavrin {

// The outlines' probabilities.
inline constexpr double kOutlineProbabilities[] = {0.05, 0.5, 0.95};

// A map's values (rows × columns, row by row from Y0) on the result grid's cells.
ResultGrid GridOfMap(const std::vector<double>& values, int rows, int columns);

struct UncertaintyMapTexts {
    std::string timeText;      // the title's time
    std::string name;          // what the map shows, above the scale
    std::string scaleCaption;  // the probability map's scale caption (the concentration map keeps its own)
    std::string outlinesNote;  // below the probability map's scale
    bool portuguese = true;
    char separator = '.';
};

// Throws as DesenhaMapa does, before anything is drawn.
MapPicture ProbabilityMapPicture(const ModelState& model, const ResultGrid& grid, const UncertaintyMapTexts& texts);
MapPicture ConcentrationMapPicture(const ModelState& model, const ResultGrid& grid, const UncertaintyMapTexts& texts);

// The end points of a probability's outline on the drawn grid, two per
// segment, with their mirror images when half the grid is drawn.
std::vector<PixelPoint> OutlineSegments(const MapGeometry& g, const ResultGrid& grid, double level);

}  // namespace kavrin
