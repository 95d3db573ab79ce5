#include "map/MapOptionShapes.h"

#include "contour/TracaContorno.h"
#include "model/FloatChecks.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

namespace kavrin {

namespace {

constexpr int kLegendLeft = 634, kLegendText = 654, kLegendTop = 490;
// What fits between the legend's text and the picture's right edge.
constexpr std::size_t kLegendChars = 21;
constexpr int kWellHalf = 3;  // a well's square is 7 pixels wide
constexpr int kNameGap = 2;   // pixels between a well's square and its name

MapShape lineOf(PixelPoint from, PixelPoint to, int width)
{
    return {MapShape::Kind::Line, kBlack, kWhite, {from, to}, {}, {}, width};
}

MapShape textAt(int x, int y, std::string content)
{
    return {MapShape::Kind::Text, kBlack, kWhite, {{x, y}}, std::move(content), {}};
}

MapShape square(PixelPoint centre, Rgb fill)
{
    return {MapShape::Kind::Rectangle,
            kBlack,
            fill,
            {{centre.x - kWellHalf, centre.y - kWellHalf}, {centre.x + kWellHalf + 1, centre.y + kWellHalf + 1}},
            {},
            {}};
}

// Characters, not bytes: a UTF-8 letter's continuation bytes do not count.
std::size_t charactersOf(const std::string& s)
{
    return static_cast<std::size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

Rgb wellFill(const MapWell& well)
{
    return !well.residual || *well.residual == 0 ? kWellPlain : *well.residual > 0 ? kResidualPositive : kResidualNegative;
}

// The wells at one point: their names joined and each colour of their residuals once.
struct WellsAtPoint {
    double x, y;
    std::string names;
    std::vector<Rgb> fills;
    int count;
};

std::vector<WellsAtPoint> wellsByPoint(const std::vector<MapWell>& wells)
{
    std::vector<WellsAtPoint> points;
    std::map<std::pair<double, double>, std::size_t> index;
    for (const MapWell& well : wells) {
        const auto [at, added] = index.try_emplace({well.x, well.y}, points.size());
        if (added)
            points.push_back({well.x, well.y, well.name, {}, 0});
        else
            points[at->second].names += ", " + well.name;
        WellsAtPoint& point = points[at->second];
        ++point.count;
        if (std::find(point.fills.begin(), point.fills.end(), wellFill(well)) == point.fills.end())
            point.fills.push_back(wellFill(well));
    }
    return points;
}

// The square, its inside split into upright stripes of the other colours.
void addStripedSquare(PixelPoint centre, const std::vector<Rgb>& fills, std::vector<MapShape>& shapes)
{
    shapes.push_back(square(centre, fills.front()));
    const int inside = 2 * kWellHalf - 1, left = centre.x - kWellHalf + 1;
    const int count = static_cast<int>(fills.size());
    for (int k = 1; k < count; ++k) {
        const Rgb fill = fills[static_cast<std::size_t>(k)];
        shapes.push_back(
            {MapShape::Kind::Rectangle,
             fill,
             fill,
             {{left + inside * k / count, centre.y - kWellHalf + 1}, {left + inside * (k + 1) / count, centre.y + kWellHalf}},
             {},
             {}});
    }
}

MapShape wellName(PixelPoint at, const std::string& name, const MapGeometry& g)
{
    const int width = static_cast<int>(charactersOf(name)) * kWellNameCharWidth;
    // Right of the square a name starts after the gap; left of it, it ends just
    // before the gap. Either way it keeps between the frame's lines.
    const int rightStart = at.x + kWellHalf + 1 + kNameGap, leftEnd = at.x - kWellHalf - kNameGap;
    const int rightRoom = kPlotRight - rightStart, leftRoom = leftEnd - (kPlotLeft + 1);
    const int bottom = g.PlotTop + g.PlotHeight;
    const int top = std::max(g.PlotTop + 1, std::min(at.y - kMapTextHeight / 2, bottom - kMapTextHeight));
    if (width <= rightRoom || rightRoom >= leftRoom) return textAt(rightStart, top, name);
    MapShape text = textAt(leftEnd, top, name);
    text.rightAligned = true;
    return text;
}

std::string withNumber(std::string text, const std::string& number)
{
    const std::size_t mark = text.find("%1");
    if (mark != std::string::npos) text.replace(mark, 2, number);
    return text;
}

}  // namespace

std::vector<std::string> WrappedLines(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (!lines.empty() && charactersOf(lines.back()) + 1 + charactersOf(word) <= width)
            lines.back() += " " + word;
        else
            lines.push_back(word);
    }
    return lines;
}

void AddStandardOutline(double standard, const ContourGrid& contour, const CellRanges& ranges, const MapGeometry& g,
                        std::vector<MapShape>& shapes)
{
    std::vector<PixelPoint> ends;
    TracaContorno(standard, contour, ranges, ends);
    for (std::size_t k = 0; k + 1 < ends.size(); k += 2) {
        shapes.push_back(lineOf(ends[k], ends[k + 1], kStandardPenWidth));
        if (!g.WholeYRange)
            shapes.push_back(lineOf({ends[k].x, 2 * g.PlotCentre - ends[k].y}, {ends[k + 1].x, 2 * g.PlotCentre - ends[k + 1].y},
                                    kStandardPenWidth));
    }
}

bool StandardReached(double standard, const ContourGrid& contour)
{
    for (int j = 1; j <= contour.HalfRows; ++j)
        for (int i = 1; i <= contour.NX + 1; ++i)
            if (contour.grid.at(i, j) >= standard) return true;
    return false;
}

std::optional<PixelPoint> PlotPixelOf(double x, double y, const ModelState& model, const MapGeometry& g)
{
    const auto within = [](double v, double a, double b) { return std::min(a, b) <= v && v <= std::max(a, b); };
    if (!within(x, model.X0, model.X1) || !within(y, model.Y0, model.Y1)) return std::nullopt;
    const int px = kPlotLeft + RoundPixel(CheckedDivide((x - model.X0) * g.PlotWidth, g.XRange));
    const int py = g.PlotTop + g.PlotHeight - RoundPixel(CheckedDivide((y - model.Y0) * g.PlotHeight, g.YRange));
    return PixelPoint{px, py};
}

int AddWells(const std::vector<MapWell>& wells, const ModelState& model, const MapGeometry& g, std::vector<MapShape>& shapes)
{
    int leftOut = 0;
    for (const WellsAtPoint& point : wellsByPoint(wells)) {
        const std::optional<PixelPoint> at = PlotPixelOf(point.x, point.y, model, g);
        if (!at) {
            leftOut += point.count;
            continue;
        }
        addStripedSquare(*at, point.fills, shapes);
        shapes.push_back(wellName(*at, point.names, g));
    }
    return leftOut;
}

void AddAxisTitles(const MapGeometry& g, const MapOptionTexts& texts, std::vector<MapShape>& shapes)
{
    const int bottom = g.PlotTop + g.PlotHeight;
    shapes.push_back(textAt(kPlotLeft + 260, bottom + 26, texts.axisX));
    shapes.push_back(textAt(10, g.PlotTop - 36, texts.axisY));
    // The arrow along +x, the direction of the flow, right of the x title.
    const int y = bottom + 33, from = kPlotLeft + 320, to = kPlotLeft + 372;
    shapes.push_back(lineOf({from, y}, {to, y}, 2));
    shapes.push_back({MapShape::Kind::Polygon, kBlack, kBlack, {{to, y - 4}, {to + 8, y}, {to, y + 4}}, {}, {}});
    shapes.push_back(textAt(to + 14, bottom + 26, texts.flow));
}

void AddLegend(const MapLegend& legend, const MapOptionTexts& texts, std::vector<MapShape>& shapes)
{
    int y = kLegendTop;
    const auto lines = [&](const std::string& text, int x) {
        for (const std::string& line : WrappedLines(text, kLegendChars)) {
            shapes.push_back(textAt(x, y, line));
            y += kMapTextHeight;
        }
    };
    if (legend.standard) {
        shapes.push_back(lineOf({kLegendLeft, y + 6}, {kLegendLeft + 17, y + 6}, kStandardPenWidth));
        std::string text = withNumber(texts.standard, *legend.standard);
        if (!legend.standardReached) text += " " + texts.standardNotReached;
        lines(text, kLegendText);
        y += 4;
    }
    if (legend.wells) {
        const auto entry = [&](Rgb fill, const std::string& text) {
            shapes.push_back(square({kLegendLeft + 8, y + 6}, fill));
            lines(text, kLegendText);
        };
        entry(kWellPlain, texts.wells);
        if (legend.positive) entry(kResidualPositive, texts.residualPositive);
        if (legend.negative) entry(kResidualNegative, texts.residualNegative);
    }
    if (legend.wellsLeftOut > 0) lines(withNumber(texts.wellsLeftOut, std::to_string(legend.wellsLeftOut)), kLegendText);
}

void AddOptionShapes(const MapRequest& request, const MapGeometry& g, std::vector<MapShape>& shapes)
{
    const MapOptions& options = request.options;
    const MapOptionTexts texts =
        request.optionTexts.empty() ? BuiltInMapOptionTexts(request.captionInPortuguese) : request.optionTexts;
    MapLegend legend;
    if (options.standard) {
        legend.standard = FormatGeneral(*options.standard, request.separator);
        legend.standardReached =
            StandardReached(*options.standard, ContourGrid{request.grid, g.NX, g.HalfRows, g.PixelX, g.PixelY});
    }
    if (options.showWells) {
        legend.wells = true;
        legend.wellsLeftOut = AddWells(request.wells, request.model, g, shapes);
        for (const MapWell& well : request.wells) {
            if (!well.residual || !PlotPixelOf(well.x, well.y, request.model, g)) continue;
            legend.positive = legend.positive || *well.residual > 0;
            legend.negative = legend.negative || *well.residual < 0;
        }
    }
    if (options.axisTitles) AddAxisTitles(g, texts, shapes);
    AddLegend(legend, texts, shapes);
}

}  // namespace kavrin
