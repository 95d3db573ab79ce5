#include "map/MapPicture.h"

#include "contour/CellRanges.h"
#include "contour/LevelRegion.h"
#include "contour/MontaPoligono.h"
#include "contour/TracaContorno.h"
#include "map/LogarithmicScale.h"
#include "map/MapOptionShapes.h"
#include "model/FloatChecks.h"
#include "model/SourceTextRules.h"
#include "solution/Parallel.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace kavrin {

namespace {

MapShape line(int x0, int y0, int x1, int y1)
{
    return {MapShape::Kind::Line, kBlack, kWhite, {{x0, y0}, {x1, y1}}, {}, {}};
}

MapShape text(int x, int y, std::string content)
{
    return {MapShape::Kind::Text, kBlack, kWhite, {{x, y}}, std::move(content), {}};
}

MapShape rectangle(int left, int top, int right, int bottom, Rgb pen, Rgb brush)
{
    return {MapShape::Kind::Rectangle, pen, brush, {{left, top}, {right, bottom}}, {}, {}};
}

MapShape polygon(PixelPolygon points, Rgb colour)
{
    return {MapShape::Kind::Polygon, colour, colour, std::move(points), {}, {}};
}

// The pixels that the polygons of a level's region cover on the picture:
// painted on a scratch canvas by the same pixel rule, so that painting the
// mask gives exactly the pixels painting the polygons would. Empty when the
// region covers none.
std::vector<std::uint8_t> regionMask(double z, const ContourGrid& contour, std::optional<int> PlotCentre,
                                     std::vector<std::uint8_t>& scratch)
{
    scratch.assign(static_cast<std::size_t>(kMapWidth) * kMapHeight * 3, 0);
    RgbCanvas canvas(scratch.data(), kMapWidth, kMapHeight, kMapWidth * 3);
    int top = kMapHeight, bottom = -1;  // the rows the polygons reach
    LevelRegion(z, contour, PlotCentre, [&](std::span<const PixelPoint> part) {
        int left = kMapWidth, right = -1, high = kMapHeight, low = -1;
        for (const PixelPoint& p : part)
            left = std::min(left, p.x), right = std::max(right, p.x), high = std::min(high, p.y), low = std::max(low, p.y);
        top = std::min(top, high), bottom = std::max(bottom, low);
        // A polygon paints only within its vertices' box: one whose box is
        // off the picture or already covered changes nothing (a noisy grid's
        // parts overlap many times).
        left = std::max(left, 0), right = std::min(right, kMapWidth - 1), high = std::max(high, 0),
        low = std::min(low, kMapHeight - 1);
        if (left > right || high > low) return;
        bool covered = true;
        for (int y = high; covered && y <= low; ++y)
            for (int x = left; covered && x <= right; ++x)
                covered = scratch[3 * (static_cast<std::size_t>(y) * kMapWidth + static_cast<std::size_t>(x))] != 0;
        if (!covered) canvas.polygon(part, kWhite);
    });
    top = std::max(top, 0), bottom = std::min(bottom, kMapHeight - 1);
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(kMapWidth) * kMapHeight / 8, 0);
    bool any = false;
    for (std::size_t p = static_cast<std::size_t>(std::max(top, 0)) * kMapWidth; static_cast<int>(p / kMapWidth) <= bottom; ++p) {
        if (scratch[3 * p] == 0) continue;
        mask[p / 8] |= static_cast<std::uint8_t>(1u << (p % 8));
        any = true;
    }
    if (!any) mask.clear();
    return mask;
}

// A tick label: the rounded value as a decimal integer.
std::string integerText(double v)
{
    const double r = std::nearbyint(v);
    if (!std::isfinite(r)) throw FloatError::overflow();
    if (std::fabs(r) >= 9.2e18) throw FloatError::overflow();
    return std::to_string(static_cast<long long>(r));
}

}  // namespace

std::string MapTitle(const std::string& MapTimeText, bool portuguese)
{
    return portuguese ? "Tempo = " + MapTimeText + "  dias" : "Time = " + MapTimeText + "  days";
}

void PaintShape(const MapShape& s, RgbCanvas& canvas)
{
    switch (s.kind) {
    case MapShape::Kind::Rectangle:
        canvas.rectangle(s.points[0].x, s.points[0].y, s.points[1].x, s.points[1].y, s.pen, s.brush);
        break;
    case MapShape::Kind::Polygon:
        canvas.polygon(s.points, s.brush);
        break;
    case MapShape::Kind::Pixels:
        for (std::size_t byte = 0; byte < s.mask.size(); ++byte) {
            if (s.mask[byte] == 0) continue;
            for (int bit = 0; bit < 8; ++bit) {
                if (!(s.mask[byte] >> bit & 1)) continue;
                const std::size_t p = 8 * byte + static_cast<std::size_t>(bit);
                canvas.pixel(static_cast<int>(p % kMapWidth), static_cast<int>(p / kMapWidth), s.brush);
            }
        }
        break;
    case MapShape::Kind::Line:
        if (s.penWidth > 1)
            canvas.line(s.points[0], s.points[1], s.pen, s.penWidth);
        else
            canvas.line(s.points[0], s.points[1], s.pen);
        break;
    case MapShape::Kind::Text:
        break;
    }
}

PixelPolygon SourceBar(const ModelState& model, const MapGeometry& g)
{
    const int Ya = RoundPixel((g.PlotHeight - g.SourcePixels) / 2.0 + g.PlotTop);
    const int Yb = Ya + g.SourcePixels;
    const int Xb = RoundPixel(CheckedDivide(g.PlotWidth * model.DX, g.XRange)) + kPlotLeft;
    return {{kPlotLeft, Ya}, {Xb, Ya}, {Xb, Yb}, {kPlotLeft, Yb}};
}

double MapScaleTop(const ModelState& model)
{
    return HighestSourceConcentration(model);
}

std::vector<std::pair<PixelPolygon, Rgb>> SourceZoneBars(const ModelState& model, const MapGeometry& g, const MapOptions& options)
{
    std::vector<SourceZone> zones = SourceZonesOf(model);
    // A zone drawn inside another holds its own concentration: the larger first.
    std::stable_sort(zones.begin(), zones.end(),
                     [](const SourceZone& a, const SourceZone& b) { return a.width * a.height > b.width * b.height; });
    const double top = MapScaleTop(model);
    const bool logarithmic = options.logarithmicScale;
    const std::array<double, kLevelCount> levels = logarithmic ? LogarithmicMapLevels(top, options.decades) : MapLevels(top);
    const int bottom = g.PlotTop + g.PlotHeight;
    const int Xb = RoundPixel(CheckedDivide(g.PlotWidth * model.DX, g.XRange)) + kPlotLeft;
    const auto pixelOf = [&](double y) {
        const double above = CheckedDivide((y - model.Y0) * g.PlotHeight, g.YRange);
        return bottom - RoundPixel(std::min(std::max(above, -1.0), g.PlotHeight + 1.0));
    };
    std::vector<std::pair<PixelPolygon, Rgb>> bars;
    for (const SourceZone& zone : zones) {
        if (!(zone.z - zone.height / 2 <= model.PlaneZ && model.PlaneZ <= zone.z + zone.height / 2)) continue;
        int band = -1;
        for (int k = 0; k < kLevelCount; ++k)
            if (levels[static_cast<std::size_t>(k)] <= zone.concentration) band = k;
        if (band < 0) continue;
        const int Ya = std::max(pixelOf(zone.y + zone.width / 2), g.PlotTop);
        const int Yb = std::min(pixelOf(zone.y - zone.width / 2), bottom);
        if (Ya > Yb) continue;
        bars.push_back({{{kPlotLeft, Ya}, {Xb, Ya}, {Xb, Yb}, {kPlotLeft, Yb}},
                        logarithmic ? LogarithmicLevelColour(band) : LevelColour(levels, band, top)});
    }
    return bars;
}

void AddLevels(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes)
{
    const MapOptions& options = request.options;
    const std::array<double, kLevelCount> levels =
        options.logarithmicScale ? LogarithmicMapLevels(request.model.C0, options.decades) : MapLevels(request.model.C0);
    // A centre line between two rows is drawn with the values of the row above it.
    std::unique_ptr<ResultGrid> repeated;
    if (g.CentreRowRepeated && g.HalfRows >= 2) {
        repeated = std::make_unique<ResultGrid>(request.grid);
        for (int i = 1; i <= g.NX + 1; ++i) repeated->set(i, g.HalfRows, request.grid.at(i, g.HalfRows - 1));
    }
    const ContourGrid contour{repeated ? *repeated : request.grid, g.NX, g.HalfRows, g.PixelX, g.PixelY};
    const CellRanges ranges(contour);
    const int topRow = g.PixelY.empty() ? g.PlotCentre : g.PixelY.front();
    // The levels are independent until they are painted in order: each is
    // made on whichever worker is free, and only the levels in the making
    // hold their end points (two at most, which bounds the memory).
    std::vector<MapShape> levelShapes(kLevelCount);
    std::vector<char> drawn(kLevelCount, 0);
    ParallelFor(kLevelCount, 1, std::min(WorkerCount(), 2u), [&](int begin, int end) {
        std::vector<PixelPoint> E;
        std::vector<std::uint8_t> scratch;
        OutlineWalker walker;
        for (int k = begin; k < end; ++k) {
            const double z = levels[static_cast<std::size_t>(k)];
            const Rgb colour = options.logarithmicScale ? LogarithmicLevelColour(k) : LevelColour(levels, k, request.model.C0);
            MapShape& shape = levelShapes[static_cast<std::size_t>(k)];
            // A grid drawn whole has no mirror image to close an outline
            // with: each level is painted as its region.
            if (!g.WholeYRange) TracaContorno(z, contour, ranges, E);
            if (!g.WholeYRange && std::any_of(E.begin(), E.end(), [](PixelPoint p) { return p.x == kPlotLeft; })) {
                shape = polygon(walker.MontaPoligono(E, topRow, g.PlotCentre), colour);
            } else {
                const std::optional<int> mirror = g.WholeYRange ? std::nullopt : std::optional<int>(g.PlotCentre);
                std::vector<std::uint8_t> mask = regionMask(z, contour, mirror, scratch);
                if (mask.empty()) continue;
                shape = {MapShape::Kind::Pixels, colour, colour, {}, {}, std::move(mask)};
            }
            drawn[static_cast<std::size_t>(k)] = 1;
        }
    });
    for (int k = 0; k < kLevelCount; ++k)
        if (drawn[static_cast<std::size_t>(k)]) shapes.push_back(std::move(levelShapes[static_cast<std::size_t>(k)]));
    if (options.standard) AddStandardOutline(*options.standard, contour, ranges, g, shapes);
}

void DesenhaEscala(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes)
{
    const ModelState& m = request.model;
    const char sep = request.separator;
    const int top = g.PlotTop, bottom = g.PlotTop + g.PlotHeight;
    shapes.push_back(line(kPlotLeft, top - 10, kPlotLeft, bottom + 10));
    shapes.push_back(line(kPlotRight, top - 10, kPlotRight, bottom + 10));
    shapes.push_back(line(45, top, 605, top));
    shapes.push_back(line(45, bottom, 605, bottom));

    const std::string X0 = FormatGeneral(m.X0, sep), X1 = FormatGeneral(m.X1, sep);
    const std::string Y0 = FormatGeneral(m.Y0, sep), Y1 = FormatGeneral(m.Y1, sep);
    shapes.push_back(text(45, top - 20, X0));
    shapes.push_back(text(45, bottom + 10, X0));
    shapes.push_back(text(595, top - 20, X1));
    shapes.push_back(text(595, bottom + 10, X1));
    // The Y labels of a low plot would run into each other: a label closer
    // to one already placed than a text's height is left out (Y0 first).
    std::vector<int> placedY;
    const auto yLabel = [&](int y, const std::string& label) {
        for (int placed : placedY)
            if (std::abs(placed - y) < kMapTextHeight) return;
        placedY.push_back(y);
        shapes.push_back(text(20, y, label));
        shapes.push_back(text(610, y, label));
    };
    yLabel(bottom - 7, Y0);
    yLabel(top - 7, Y1);

    for (int n = 1; n <= 4; ++n) {
        const int x = kPlotLeft + n * 110;
        shapes.push_back(line(x, top - 10, x, top));
        shapes.push_back(line(x, bottom, x, bottom + 10));
        const std::string label = integerText(n * g.XRange / 5 + m.X0);
        shapes.push_back(text(x - 5, top - 20, label));
        shapes.push_back(text(x - 5, bottom + 10, label));
    }
    const int Ty = RoundPixel(g.PlotHeight / 6.0);
    for (int n = 1; n <= 5; ++n) {
        const int y = bottom - n * Ty;
        shapes.push_back(line(45, y, 50, y));
        shapes.push_back(line(605, y, 600, y));
        yLabel(y - 7, integerText(n * g.YRange / 6 + m.Y0));
    }

    shapes.push_back(rectangle(699, 179, 721, 468, kBlack, kWhite));
    const MapOptions& options = request.options;
    for (int n = 1; n <= kScaleCells; ++n) {
        const Rgb colour = options.logarithmicScale ? LogarithmicScaleCellColour(n) : ScaleCellColour(n, m.C0);
        shapes.push_back(rectangle(700, 7 * n + 180, 720, 7 * n + 187, colour, colour));
    }
    if (options.logarithmicScale) {
        // Each label with a tick at the height of its value.
        for (const ScaleLabel& label : LogarithmicScaleLabels(m.C0, options.decades, sep)) {
            shapes.push_back(line(721, label.y + 6, 727, label.y + 6));
            shapes.push_back(text(730, label.y, label.text));
        }
        shapes.push_back(text(660, 140, request.captionInPortuguese ? "Concentração (mg/L)" : "Concentration (mg/L)"));
        return;
    }
    shapes.push_back(text(730, 175, "0"));
    const int labelY[4] = {245, 315, 385, 457};
    for (int q = 1; q <= 4; ++q) shapes.push_back(text(730, labelY[q - 1], FormatGeneral(m.C0 / 40 * (10 * q), sep)));
    shapes.push_back(text(660, 140, request.captionInPortuguese ? "Concentração (mg/L)" : "Concentration (mg/L)"));
}

MapPicture DesenhaMapa(const MapRequest& request)
{
    MapPicture picture;
    try {
        picture.geometry = DefineMapGeometry(request.model);
        const MapGeometry& g = picture.geometry;
        std::vector<MapShape>& shapes = picture.shapes;
        shapes.push_back(rectangle(0, 0, kMapWidth, kMapHeight, kWhite, kWhite));
        // The colours run up to the highest zone's concentration (C0 with one zone).
        ModelState scaled = request.model;
        scaled.C0 = MapScaleTop(request.model);
        const MapRequest drawing{scaled,
                                 request.grid,
                                 request.MapTimeText,
                                 request.titleInPortuguese,
                                 request.captionInPortuguese,
                                 request.separator,
                                 request.options,
                                 {},
                                 {}};
        if (request.MapTimeText == "0") {
            const ModelState& m = request.model;
            if (m.source.moreZones.empty() && SymmetricInY(m)) {
                if (m.ZMin <= m.PlaneZ && m.PlaneZ <= m.ZMax) {
                    const Rgb red = IndexColour(IndiceCor(m.C0, m.C0, 0), 0);
                    shapes.push_back(polygon(SourceBar(m, g), red));
                }
            } else {
                for (const auto& [bar, colour] : SourceZoneBars(m, g, request.options)) shapes.push_back(polygon(bar, colour));
            }
        } else {
            AddLevels(drawing, g, shapes);
        }
        DesenhaEscala(drawing, g, shapes);
        shapes.push_back(text(kMapWidth - 130, 30, MapTitle(request.MapTimeText, request.titleInPortuguese)));
        if (!request.options.isPlain()) AddOptionShapes(request, g, shapes);
    } catch (const std::bad_alloc&) {
        throw CheckError("There is not enough memory to draw the map of time " + Excerpt(request.MapTimeText) + ".");
    }
    return picture;
}

}  // namespace kavrin
