// The complete map of one time as an ordered list of shapes and texts on the
// 800 × 640 picture: background, the 62 levels (or the source at time "0"),
// frame, ticks, labels, colour scale, caption and title.
#pragma once

#include "contour/PixelPoint.h"
#include "map/MapColours.h"
#include "map/MapGeometry.h"
#include "map/MapOptionTexts.h"
#include "map/MapOptions.h"
#include "map/RgbCanvas.h"
#include "model/ModelState.h"
#include "workspace/ResultGrid.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// The height a text of the map takes, its line with the gap below it.
inline constexpr int kMapTextHeight = 14;

struct MapShape {
    enum class Kind { Rectangle, Polygon, Line, Text, Pixels };
    Kind kind;
    Rgb pen, brush;
    // Rectangle: top-left and bottom-right (just outside); line: from, to;
    // text: its top-left corner; polygon: the vertices.
    PixelPolygon points;
    std::string text;  // UTF-8, black on the white brush
    // Pixels: one bit for each pixel of the 800 × 640 picture, row after row
    // from the top, the lowest bit of a byte the leftmost pixel; those set
    // take the brush.
    std::vector<std::uint8_t> mask;
    int penWidth = 1;  // of a line or outline, in pixels of the 800 × 640 picture
    // A text whose point is its top-right corner, just past its last pixel:
    // it ends there, however wide the font draws it.
    bool rightAligned = false;
};

struct MapPicture {
    MapGeometry geometry;
    std::vector<MapShape> shapes;
};

struct MapRequest {
    const ModelState& model;
    const ResultGrid& grid;
    std::string MapTimeText;          // the title's time, exactly as chosen
    bool titleInPortuguese;           // the stored language is "Port"
    bool captionInPortuguese;         // PortugueseActive
    char separator;                   // of the number texts
    MapOptions options = {};          // the defaults draw the plain map
    std::vector<MapWell> wells = {};  // drawn when options.showWells
    // The legend's, axis titles' and flow arrow's texts; the built-in ones
    // of the caption's language when empty.
    MapOptionTexts optionTexts = {};
};

// The whole map, or an exception (FloatError for a zero range, step or C0,
// MapGridTooLarge) before anything is drawn.
MapPicture DesenhaMapa(const MapRequest& request);

// The shapes of the plot alone: one filled outline per level, or the region
// at or above a level whose outline does not start on the plot's left edge
// (its many small polygons painted once, kept as the pixels they cover).
void AddLevels(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes);

// Frame, ticks, corner and tick labels, the colour scale and its caption.
void DesenhaEscala(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes);

// The source bar of time "0": corners (50, Ya), (Xb, Ya), (Xb, Yb), (50, Yb).
PixelPolygon SourceBar(const ModelState& model, const MapGeometry& g);

// The concentration at the top of the colours: the highest of C0 and the
// other source zones' concentrations.
double MapScaleTop(const ModelState& model);

// The source bars of time "0" for zones off the centre or more than one zone:
// one grid step wide on the left edge, each zone that reaches the plane
// z = PlaneZ across its own Y extent (within the plot), in its band's colour,
// a zone inside a larger one drawn after it.
std::vector<std::pair<PixelPolygon, Rgb>> SourceZoneBars(const ModelState& model, const MapGeometry& g,
                                                         const MapOptions& options = {});

// Paints a rectangle, polygon or line (a line of penWidth w as a w × w square
// at each of its pixels); a text is left to the caller, who has the fonts.
void PaintShape(const MapShape& shape, RgbCanvas& canvas);

std::string MapTitle(const std::string& MapTimeText, bool portuguese);

}  // namespace kavrin
