// What the map's options draw: the logarithmic scale, the standard's
// outline, the wells, the axis titles and the legend; the defaults add nothing.
#include "core/map/MapTestSupport.h"
#include "map/LogarithmicScale.h"
#include "map/MapOptionShapes.h"
#include "map/MapPicture.h"
#include "map/MapWells.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kavrin;
using kavrin::test::DesignModel;
using kavrin::test::GridAtTime;
using kavrin::test::PaintShapes;

namespace {

MapPicture drawnWith(const ModelState& m, const ResultGrid& grid, const MapOptions& options,
                     const std::vector<MapWell>& wells = {}, bool portuguese = false, char separator = '.')
{
    return DesenhaMapa({m, grid, "2500", portuguese, portuguese, separator, options, wells});
}

std::vector<std::string> textsOf(const MapPicture& picture)
{
    std::vector<std::string> texts;
    for (const MapShape& s : picture.shapes)
        if (s.kind == MapShape::Kind::Text) texts.push_back(s.text);
    return texts;
}

bool holds(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool sameShapes(const MapPicture& a, const MapPicture& b)
{
    if (a.shapes.size() != b.shapes.size()) return false;
    for (std::size_t k = 0; k < a.shapes.size(); ++k) {
        const MapShape &s = a.shapes[k], &t = b.shapes[k];
        if (s.kind != t.kind || !(s.pen == t.pen) || !(s.brush == t.brush) || s.points != t.points || s.text != t.text ||
            s.penWidth != t.penWidth || s.mask != t.mask)
            return false;
    }
    return true;
}

MapOptions logarithmic(int decades)
{
    MapOptions options;
    options.logarithmicScale = true;
    options.decades = decades;
    return options;
}

}  // namespace

TEST(LogarithmicScale, LevelValuesAndColours)
{
    struct Case {
        double top;
        int decades, k;
        double level;
        Rgb colour;
    };
    // Index Round(1020 × (61 − k) / 61): 1020 blue, 769 (1020 − 251), 518, 0 red.
    const Case cases[] = {
        {1, 4, 0, 1e-4, {0, 0, 255}},
        {1, 4, 15, std::pow(10.0, -4.0 * 46 / 61), {0, 251, 255}},
        {1, 4, 30, std::pow(10.0, -4.0 * 31 / 61), {0, 255, 8}},
        {1, 4, 61, 1, {255, 0, 0}},
        {0.5, 3, 0, 0.5e-3, {0, 0, 255}},
        {0.5, 3, 60, 0.5 * std::pow(10.0, -3.0 / 61), {255, 17, 0}},
        {250, 12, 0, 250e-12, {0, 0, 255}},
        {250, 12, 61, 250, {255, 0, 0}},
    };
    for (const Case& c : cases) {
        const auto levels = LogarithmicMapLevels(c.top, c.decades);
        EXPECT_NEAR(levels[static_cast<std::size_t>(c.k)], c.level, c.level * 1e-14) << c.top << " " << c.decades << " " << c.k;
        EXPECT_EQ(LogarithmicLevelColour(c.k), c.colour) << c.k;
        EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));
    }
    EXPECT_EQ(LogarithmicMapLevels(0.5, 3)[61], 0.5) << "the top is the top exactly";
    // The scale's cells: index Round(1020 × (40 − n) / 40), halves to even, no brightening.
    EXPECT_EQ(LogarithmicScaleCellColour(1), (Rgb{0, 26, 255}));
    EXPECT_EQ(LogarithmicScaleCellColour(20), (Rgb{0, 255, 0}));
    EXPECT_EQ(LogarithmicScaleCellColour(40), (Rgb{255, 0, 0}));
    for (const double top : {0.0, -1.0, std::nan("")}) EXPECT_THROW(LogarithmicMapLevels(top, 4), FloatError) << top;
}

TEST(LogarithmicScale, TheScaleReadsInPowersOfTen)
{
    const auto labels = LogarithmicScaleLabels(0.5, 4, ',');
    std::vector<std::pair<int, std::string>> shown;
    for (const ScaleLabel& l : labels) shown.emplace_back(l.y, l.text);
    EXPECT_EQ(shown, (std::vector<std::pair<int, std::string>>{
                         {175, "5E-5"}, {457, "0,5"}, {196, "0,0001"}, {267, "0,001"}, {337, "0,01"}, {408, "0,1"}}));
    // A top that is a power of ten: its ends are powers already; twelve decades still leave a text's height between labels.
    const auto twelve = LogarithmicScaleLabels(100, 12, '.');
    EXPECT_EQ(twelve.size(), 13u);
    EXPECT_EQ(twelve.front().text, "1E-10");
    EXPECT_EQ(twelve[1].text, "100");
}

TEST(LogarithmicScale, TheMapPaintsWhatTheLinearScaleLeavesWhite)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    const MapPicture linear = drawnWith(m, grid, {}), log = drawnWith(m, grid, logarithmic(4));
    auto linearPicture = PaintShapes(linear), logPicture = PaintShapes(log);
    const MapGeometry& g = log.geometry;
    const auto levels = LogarithmicMapLevels(m.C0, 4);
    int checked = 0;
    // Nodes below the linear scale's floor of 0.001 but within four decades of C0,
    // well inside their logarithmic band (so the pixel's own band is certain).
    for (int i = 2; i <= g.NX; ++i) {
        for (int j = 2; j < g.HalfRows - 1; ++j) {
            const double c = grid.at(i, j);
            if (!(c > levels[0] && c < 0.0009)) continue;
            int band = 0;
            while (band + 1 < kLevelCount && levels[static_cast<std::size_t>(band + 1)] <= c) ++band;
            const double low = levels[static_cast<std::size_t>(band)], high = levels[static_cast<std::size_t>(band + 1)];
            if (c < low * 1.03 || c > high / 1.03) continue;
            // The next level's outline passes more than a pixel away (nodes lie 5 or 6 pixels apart).
            bool clear = true;
            for (auto [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                clear = clear && grid.at(i + di, j + dj) < c + (high - c) * 4;
            if (!clear) continue;
            const int x = g.PixelX[static_cast<std::size_t>(i - 1)], y = g.PixelY[static_cast<std::size_t>(j - 1)];
            EXPECT_EQ(linearPicture.at(x, y), kWhite) << i << "," << j;
            EXPECT_EQ(logPicture.at(x, y), LogarithmicLevelColour(band)) << i << "," << j << " c=" << c;
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
    const std::vector<std::string> texts = textsOf(log);
    EXPECT_TRUE(holds(texts, "5E-5") && holds(texts, "0.001") && holds(texts, "0.01") && holds(texts, "0.1"))
        << "the scale's ends and powers of ten";
    EXPECT_FALSE(holds(texts, "0.125")) << "no linear labels";
}

TEST(MapOptionsPicture, DefaultsAndThePictureSizeAloneDrawThePlainMap)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    const MapPicture plain = DesenhaMapa({m, grid, "2500", true, true, ','});
    MapOptions sized;
    sized.width = 1600, sized.height = 1280;
    const std::vector<MapWell> wells{{"1", 20, 0, 0.1}};
    for (const MapOptions& options : {MapOptions{}, sized}) {
        EXPECT_TRUE(sameShapes(plain, DesenhaMapa({m, grid, "2500", true, true, ',', options, wells})))
            << MapOptionsText(options);
        EXPECT_TRUE(
            sameShapes(DesenhaMapa({m, grid, "0", true, true, ','}), DesenhaMapa({m, grid, "0", true, true, ',', options})));
    }
}

TEST(MapOptionsPicture, TheStandardIsOutlinedBoldInBlackWhereTheAxisCrossesIt)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    const double standard = 0.05 * m.C0;
    MapOptions options;
    options.standard = standard;
    const MapPicture map = drawnWith(m, grid, options);
    auto picture = PaintShapes(map);
    const MapGeometry& g = map.geometry;
    // Along the axis (the centre row) the values fall downstream: the outline
    // crosses it once, between the last node at or above the standard and the next.
    int last = 0;
    for (int i = 1; i <= g.NX + 1; ++i)
        if (grid.at(i, g.HalfRows) >= standard) last = i;
    ASSERT_GT(last, 1);
    ASSERT_LE(last, g.NX);
    const int from = g.PixelX[static_cast<std::size_t>(last - 1)], to = g.PixelX[static_cast<std::size_t>(last)];
    int black = 0;
    for (int x = from - 1; x <= to + 1; ++x) black += picture.at(x, g.PlotCentre) == kBlack;
    EXPECT_GE(black, 3) << "three pixels wide";
    for (int x = to + 3; x < kPlotRight - 1; ++x) EXPECT_NE(picture.at(x, g.PlotCentre), kBlack) << x;
    int bold = 0;
    for (const MapShape& s : map.shapes) bold += s.kind == MapShape::Kind::Line && s.penWidth == kStandardPenWidth;
    EXPECT_GT(bold, 20);
    EXPECT_TRUE(holds(textsOf(map), "Standard " + FormatGeneral(standard, '.') + " mg/L"));
    // The legend in Portuguese with the user's separator; a standard above every value says so.
    options.standard = 0.005;
    EXPECT_TRUE(holds(textsOf(drawnWith(m, grid, options, {}, true, ',')), "Padrão 0,005 mg/L"));
    options.standard = 2 * m.C0;
    const std::vector<std::string> above = textsOf(drawnWith(m, grid, options));
    std::string legend;  // its lines joined again
    for (const std::string& t : above) legend += t + " ";
    EXPECT_NE(legend.find("Standard 1 mg/L (not reached)"), std::string::npos) << legend;
}

TEST(MapOptionsPicture, WellsByRowColouredByResidualAndThoseOutsideCounted)
{
    // Rows: a plain number pair, a decimal comma, an X still empty, a point beyond X1, a point beyond Y0.
    const std::vector<ObservationTexts> rows{{"0.2", "20", "0", "0", "2500"},
                                             {"0.1", "40,5", "-10", "0", "2500"},
                                             {"0.1", "", "5", "0", "2500"},
                                             {"0.1", "150", "0", "0", "2500"},
                                             {"0.1", "10", "-31", "0", "2500"}};
    const std::vector<MapWell> plain = MapWellsOf(rows, '.');
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0].name, "1");
    EXPECT_EQ(plain[1].name, "2");
    EXPECT_EQ(plain[1].x, 40.5);
    EXPECT_EQ(plain[2].name, "4");
    EXPECT_FALSE(plain[0].residual);
    EXPECT_FALSE(MapWellsOf(rows, '.', {0.1, 0.2})[0].residual) << "residuals of another table";
    const std::vector<MapWell> compared = MapWellsOf(rows, '.', {0.05, -0.02, 0, 0.01, 0.01});
    EXPECT_EQ(*compared[0].residual, 0.05);
    EXPECT_EQ(*compared[1].residual, -0.02);

    const ModelState m = DesignModel();
    const MapGeometry g = DefineMapGeometry(m);
    EXPECT_EQ(PlotPixelOf(m.X0, m.Y1, m, g), (PixelPoint{kPlotLeft, g.PlotTop}));
    EXPECT_EQ(PlotPixelOf(m.X1, m.Y0, m, g), (PixelPoint{kPlotRight, g.PlotTop + g.PlotHeight}));
    EXPECT_FALSE(PlotPixelOf(m.X1 + 1, 0, m, g));

    const ResultGrid grid = GridAtTime(m, 2500);
    MapOptions options;
    options.showWells = true;
    const MapPicture map = drawnWith(m, grid, options, compared);
    auto picture = PaintShapes(map);
    const PixelPoint first = *PlotPixelOf(20, 0, m, g), second = *PlotPixelOf(40.5, -10, m, g);
    EXPECT_EQ(picture.at(first.x, first.y), kResidualPositive);
    EXPECT_EQ(picture.at(first.x - 3, first.y - 3), kBlack) << "the square's border";
    EXPECT_EQ(picture.at(second.x, second.y), kResidualNegative);
    const std::vector<std::string> texts = textsOf(map);
    for (const char* text :
         {"1", "2", "Wells (row number)", "observed > calculated", "observed < calculated", "2 outside the map,", "left out"})
        EXPECT_TRUE(holds(texts, text)) << text;
    EXPECT_FALSE(holds(texts, "4")) << "a well beyond X1 is left out";
    // Without a comparison: white squares and no residual lines.
    const MapPicture uncompared = drawnWith(m, grid, options, plain);
    EXPECT_EQ(PaintShapes(uncompared).at(first.x, first.y), kWellPlain);
    EXPECT_FALSE(holds(textsOf(uncompared), "observed > calculated"));
}

TEST(MapOptionsPicture, AxisTitlesAndTheFlowArrowInEitherLanguage)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    MapOptions options;
    options.axisTitles = true;
    const MapPicture english = drawnWith(m, grid, options);
    for (const char* text : {"x (m)", "y (m)", "flow"}) EXPECT_TRUE(holds(textsOf(english), text)) << text;
    EXPECT_TRUE(holds(textsOf(drawnWith(m, grid, options, {}, true)), "fluxo"));
    // The arrow's head points along +x under the plot.
    const int y = english.geometry.PlotTop + english.geometry.PlotHeight + 33;
    auto picture = PaintShapes(english);
    EXPECT_EQ(picture.at(kPlotLeft + 330, y), kBlack);
    EXPECT_EQ(picture.at(kPlotLeft + 379, y), kBlack);
    EXPECT_EQ(picture.at(kPlotLeft + 379, y - 3), kWhite);
    EXPECT_EQ(picture.at(kPlotLeft + 373, y - 3), kBlack);
}

TEST(MapOptionsPicture, LegendLinesWrapAtWords)
{
    EXPECT_EQ(WrappedLines("2 outside the map, left out", 21), (std::vector<std::string>{"2 outside the map,", "left out"}));
    EXPECT_EQ(WrappedLines("Padrão 0,005 mg/L", 17), (std::vector<std::string>{"Padrão 0,005 mg/L"})) << "letters, not bytes";
    EXPECT_EQ(WrappedLines("", 21), std::vector<std::string>{});
}

TEST(MapOptionsPicture, WellsAtOnePointAreOneSquareWithTheirNamesJoined)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    MapOptions options;
    options.showWells = true;
    // Wells 3 and 7 at one point (one above, one below the model), 5 beside them, 9 outside the map.
    const std::vector<MapWell> wells{{"3", 20, 5, 0.1}, {"5", 40, 5, 0.1}, {"7", 20, 5, -0.1}, {"9", 150, 0, 0.1}};
    const MapPicture map = drawnWith(m, grid, options, wells);
    const std::vector<std::string> texts = textsOf(map);
    EXPECT_TRUE(holds(texts, "3, 7"));
    EXPECT_TRUE(holds(texts, "5"));
    EXPECT_FALSE(holds(texts, "3") || holds(texts, "7")) << "one name over the other";
    EXPECT_TRUE(holds(texts, "1 outside the map,")) << "the wells left out are counted one by one";
    // One square in two stripes: the first well's colour on the left, the other's on the right.
    const PixelPoint at = *PlotPixelOf(20, 5, m, map.geometry);
    auto picture = PaintShapes(map);
    EXPECT_EQ(picture.at(at.x - 2, at.y), kResidualPositive);
    EXPECT_EQ(picture.at(at.x + 2, at.y), kResidualNegative);
    EXPECT_EQ(picture.at(at.x + 3, at.y + 3), kBlack) << "the square's border";
    // Wells at one point with residuals of one sign: one square of that colour.
    const MapPicture same = drawnWith(m, grid, options, {{"3", 20, 5, 0.1}, {"7", 20, 5, 0.2}});
    EXPECT_TRUE(holds(textsOf(same), "3, 7"));
    auto samePicture = PaintShapes(same);
    for (int dx = -2; dx <= 2; ++dx) EXPECT_EQ(samePicture.at(at.x + dx, at.y), kResidualPositive) << dx;
}

TEST(MapOptionsPicture, AWellsNameStaysInsideThePlot)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    const MapGeometry g = DefineMapGeometry(m);
    const int bottom = g.PlotTop + g.PlotHeight;
    MapOptions options;
    options.showWells = true;
    struct Case {
        double x, y;
        std::string name;
        bool left;  // the name left of the square
        int top;    // the name's top
    };
    const PixelPoint middle = *PlotPixelOf(50, 0, m, g);
    const Case cases[] = {
        {50, 0, "12", false, middle.y - 7},               // beside the square, as always
        {m.X1, 0, "12", true, middle.y - 7},              // on the right edge
        {m.X1 - 2, 0, "3, 7", true, middle.y - 7},        // near it, a joined name
        {m.X0, m.Y1, "1", false, g.PlotTop + 1},          // the top-left corner
        {m.X1, m.Y1, "1", true, g.PlotTop + 1},           // the top-right corner
        {50, m.Y0, "1", false, bottom - kMapTextHeight},  // the bottom edge
    };
    for (const Case& c : cases) {
        const MapPicture map = drawnWith(m, grid, options, {{c.name, c.x, c.y, std::nullopt}});
        const auto name = std::find_if(map.shapes.begin(), map.shapes.end(),
                                       [&](const MapShape& s) { return s.kind == MapShape::Kind::Text && s.text == c.name; });
        ASSERT_NE(name, map.shapes.end()) << c.x << ", " << c.y;
        const PixelPoint at = *PlotPixelOf(c.x, c.y, m, g);
        EXPECT_EQ(name->rightAligned, c.left) << c.x << ", " << c.y;
        EXPECT_EQ(name->points[0].x, c.left ? at.x - 5 : at.x + 6) << c.x << ", " << c.y;
        EXPECT_EQ(name->points[0].y, c.top) << c.x << ", " << c.y;
        // Its widest drawing between the frame's lines.
        const int width = static_cast<int>(c.name.size()) * kWellNameCharWidth;
        const int left = c.left ? name->points[0].x - width : name->points[0].x;
        EXPECT_GT(left, kPlotLeft) << c.x << ", " << c.y;
        EXPECT_LT(left + width - 1, kPlotRight) << c.x << ", " << c.y;
        EXPECT_GT(name->points[0].y, g.PlotTop) << c.x << ", " << c.y;
        EXPECT_LT(name->points[0].y + kMapTextHeight - 1, bottom) << c.x << ", " << c.y;
    }
}
