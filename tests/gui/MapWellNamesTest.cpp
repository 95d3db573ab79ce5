// The wells' names as the map's painters draw them: inside the plot, clear of
// the axis labels, on whichever side of the square they fit, in the raster
// picture and in the vector one alike.
#include "core/map/MapTestSupport.h"
#include "gui/MapPainter.h"
#include "gui/MapVectorPainter.h"
#include "map/MapOptionShapes.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace kavrin::test {

namespace {

QImage rasterOf(const MapPicture& map)
{
    return PaintMapPicture(map).convertToFormat(QImage::Format_RGB888);
}

QImage vectorOf(const MapPicture& map)
{
    QImage image(kMapWidth, kMapHeight, QImage::Format_RGB888);
    QPainter painter(&image);
    PaintMapVector(map, painter, image.size());
    return image;
}

// The pixels where `with` differs from `without`, outside the 7 × 7 square at `well`.
std::vector<QPoint> nameChanges(const QImage& with, const QImage& without, PixelPoint well)
{
    std::vector<QPoint> changed;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y) && (std::abs(x - well.x) > 3 || std::abs(y - well.y) > 3))
                changed.emplace_back(x, y);
    return changed;
}

}  // namespace

TEST(MapWellNames, NoCharacterOfANameIsWiderThanTheBoundTheMapPlacesItBy)
{
    const QFontMetrics metrics(MapFont());
    for (const QChar c : QStringLiteral("0123456789, "))
        EXPECT_LE(metrics.horizontalAdvance(c), kWellNameCharWidth) << int(c.unicode());
    EXPECT_LE(metrics.height(), kMapTextHeight);
}

TEST(MapWellNames, ANameIsDrawnInsideThePlotOnTheSideItFits)
{
    const ModelState m = DesignModel();
    const ResultGrid grid = GridAtTime(m, 2500);
    MapOptions options;
    options.showWells = true;
    struct Case {
        double x, y;
        const char* name;
        bool left;  // drawn left of the square
    };
    const Case cases[] = {
        {50, 0, "12", false},    {m.X1, 0, "12", true},    {m.X1 - 1, 3, "3, 7, 11", true},
        {m.X1, m.Y1, "4", true}, {m.X0, m.Y1, "4", false}, {70, m.Y0, "4", false},
    };
    for (const Case& c : cases) {
        const MapPicture with = DesenhaMapa({m, grid, "2500", false, false, '.', options, {{c.name, c.x, c.y, std::nullopt}}});
        const MapPicture without = DesenhaMapa({m, grid, "2500", false, false, '.', options, {}});
        const MapGeometry& g = with.geometry;
        const PixelPoint at = *PlotPixelOf(c.x, c.y, m, g);
        for (const bool vector : {false, true}) {
            const QImage drawn = vector ? vectorOf(with) : rasterOf(with);
            const std::vector<QPoint> changed = nameChanges(drawn, vector ? vectorOf(without) : rasterOf(without), at);
            int dark = 0, misplaced = 0;
            for (const QPoint& p : changed) {
                // Between the frame's lines, so clear of every axis label, and
                // beside the square on the side expected, two pixels from it.
                const bool inside =
                    p.x() > kPlotLeft && p.x() < kPlotRight && p.y() > g.PlotTop && p.y() < g.PlotTop + g.PlotHeight;
                const bool beside = c.left ? p.x() <= at.x - 6 : p.x() >= at.x + 6;
                misplaced += !(inside && beside);
                dark += qGray(drawn.pixel(p)) < 100;
            }
            EXPECT_EQ(misplaced, 0) << c.name << " at " << c.x << ", " << c.y << (vector ? " (vector)" : " (raster)");
            EXPECT_GT(dark, 10) << "the name's letters are drawn: " << c.name << (vector ? " (vector)" : " (raster)");
        }
    }
}

}  // namespace kavrin::test
