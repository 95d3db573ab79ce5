#include "uncertainty/UncertaintyMapPicture.h"

#include "contour/CellRanges.h"
#include "contour/TracaContorno.h"

#include <memory>

namespace kavrin {

namespace {

MapShape text(int x, int y, std::string content)
{
    return {MapShape::Kind::Text, kBlack, kWhite, {{x, y}}, std::move(content), {}};
}

// Where the map's name goes: under the title, at the right of the plot.
constexpr int kNameX = 615, kNameY = 50;
constexpr int kNoteY = 490;  // under the colour scale

// The map's frame, scale and title around its levels, as DesenhaMapa draws
// them; `scaled` gives the colours (its C0 the scale's top).
MapPicture picture(const ModelState& model, const ModelState& scaled, const ResultGrid& grid, const UncertaintyMapTexts& texts,
                   bool outlines)
{
    MapPicture picture;
    picture.geometry = DefineMapGeometry(model);
    const MapGeometry& g = picture.geometry;
    std::vector<MapShape>& shapes = picture.shapes;
    const MapRequest request{scaled, grid, texts.timeText, texts.portuguese, texts.portuguese, texts.separator};
    shapes.push_back({MapShape::Kind::Rectangle, kWhite, kWhite, {{0, 0}, {kMapWidth, kMapHeight}}, {}, {}});
    AddLevels(request, g, shapes);
    if (outlines)
        for (double level : kOutlineProbabilities) {
            const std::vector<PixelPoint> ends = OutlineSegments(g, grid, level);
            // Two pixels wide, so that an outline reads on the dark colours beside it.
            for (std::size_t i = 0; i + 1 < ends.size(); i += 2)
                for (const int shift : {0, 1})
                    shapes.push_back({MapShape::Kind::Line,
                                      kBlack,
                                      kWhite,
                                      {{ends[i].x, ends[i].y + shift}, {ends[i + 1].x, ends[i + 1].y + shift}},
                                      {},
                                      {}});
        }
    DesenhaEscala(request, g, shapes);
    if (!texts.scaleCaption.empty()) shapes.back().text = texts.scaleCaption;  // the scale's caption comes last
    shapes.push_back(text(kMapWidth - 130, 30, MapTitle(texts.timeText, texts.portuguese)));
    shapes.push_back(text(kNameX, kNameY, texts.name));
    if (outlines && !texts.outlinesNote.empty()) shapes.push_back(text(kNameX, kNoteY, texts.outlinesNote));
    return picture;
}

}  // namespace

ResultGrid GridOfMap(const std::vector<double>& values, int rows, int columns)
{
    ResultGrid grid;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const std::size_t node =
                static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column);
            if (node < values.size()) grid.set(column + 1, row + 1, values[node]);
        }
    return grid;
}

std::vector<PixelPoint> OutlineSegments(const MapGeometry& g, const ResultGrid& grid, double level)
{
    // A centre line between two rows is drawn with the values of the row above it, as the levels are.
    std::unique_ptr<ResultGrid> repeated;
    if (g.CentreRowRepeated && g.HalfRows >= 2) {
        repeated = std::make_unique<ResultGrid>(grid);
        for (int i = 1; i <= g.NX + 1; ++i) repeated->set(i, g.HalfRows, grid.at(i, g.HalfRows - 1));
    }
    const ContourGrid contour{repeated ? *repeated : grid, g.NX, g.HalfRows, g.PixelX, g.PixelY};
    const CellRanges ranges(contour);
    std::vector<PixelPoint> ends;
    TracaContorno(level, contour, ranges, ends);
    if (!g.WholeYRange) {
        const std::size_t drawn = ends.size();
        for (std::size_t i = 0; i < drawn; ++i) ends.push_back({ends[i].x, 2 * g.PlotCentre - ends[i].y});
    }
    return ends;
}

MapPicture ProbabilityMapPicture(const ModelState& model, const ResultGrid& grid, const UncertaintyMapTexts& texts)
{
    ModelState scaled = model;
    scaled.C0 = 1;
    return picture(model, scaled, grid, texts, true);
}

MapPicture ConcentrationMapPicture(const ModelState& model, const ResultGrid& grid, const UncertaintyMapTexts& texts)
{
    ModelState scaled = model;
    scaled.C0 = MapScaleTop(model);
    UncertaintyMapTexts concentration = texts;
    concentration.scaleCaption.clear();
    return picture(model, scaled, grid, concentration, false);
}

}  // namespace kavrin
