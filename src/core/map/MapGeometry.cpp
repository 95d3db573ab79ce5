#include "map/MapGeometry.h"

#include "model/FloatChecks.h"
#include "model/SourceTextRules.h"
#include "workspace/ResultGrid.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

MapGridTooLarge::MapGridTooLarge(char axis)
    : CheckError(std::string("The grid has more than 450 cells along ") + axis + "; the map cannot be drawn."), axis_(axis)
{
}

void DefinePixels(MapGeometry& g, double DX, double DY, int columns, int rows, int centre, int top)
{
    g.PixelX.assign(static_cast<std::size_t>(std::max(columns, 0)), 0);
    g.PixelY.assign(static_cast<std::size_t>(std::max(rows, 0)), 0);
    for (int i = 1; i <= columns; ++i)
        g.PixelX[i - 1] = RoundPixel(CheckedDivide((i - 1) * DX * g.PlotWidth, g.XRange)) + kPlotLeft;
    for (int k = 1; k < rows; ++k) g.PixelY[k - 1] = RoundPixel(CheckedDivide((k - 1) * DY * g.PlotHeight, g.YRange) + top);
    if (rows >= 1) g.PixelY[rows - 1] = centre;
}

namespace {

// The pixel y row HalfRows would have at its own y.
int LastRowOwnPixel(const MapGeometry& g, double DY)
{
    return RoundPixel(CheckedDivide((g.HalfRows - 1) * DY * g.PlotHeight, g.YRange) + g.PlotTop);
}

// Every row at its own y from the bottom edge up: row k at
// Round((k − 1)·DY·PlotHeight / YRange) pixels above it; a last row beyond
// Y1 (a range that is not a whole number of steps) on the top edge.
void DefineWholeRangeRows(MapGeometry& g, const ModelState& m)
{
    const double rows = std::nearbyint(CheckedDivide(g.YRange, m.DY)) + 1;
    if (!(rows <= ResultGrid::kSize)) throw MapGridTooLarge('Y');
    g.WholeYRange = true;
    g.CentreRowRepeated = false;
    g.HalfRows = std::max(static_cast<int>(rows), 0);
    g.PixelY.assign(static_cast<std::size_t>(g.HalfRows), 0);
    const int bottom = g.PlotTop + g.PlotHeight;
    for (int k = 1; k <= g.HalfRows; ++k)
        g.PixelY[static_cast<std::size_t>(k - 1)] =
            std::max(bottom - RoundPixel(CheckedDivide((k - 1) * m.DY * g.PlotHeight, g.YRange)), g.PlotTop);
}

}  // namespace

MapGeometry DefineMapGeometry(const ModelState& m)
{
    MapGeometry g;
    g.XRange = m.X1 - m.X0;
    g.YRange = m.Y1 - m.Y0;
    const double columns = std::nearbyint(CheckedDivide(g.XRange, m.DX));
    g.PlotHeight = RoundPixel(CheckedDivide(g.YRange, g.XRange) * kPlotWidth);
    g.PlotTop = RoundPixel((kMapHeight - g.PlotHeight) / 2.0);
    g.SourcePixels = RoundPixel(CheckedDivide(g.PlotHeight * m.SourceWidth, g.YRange));
    const double halfRows = std::nearbyint(CheckedDivide(g.YRange, m.DY) / 2);
    if (!(columns <= 450)) throw MapGridTooLarge('X');
    if (!(halfRows <= 225)) throw MapGridTooLarge('Y');
    g.NX = static_cast<int>(columns);
    g.HalfRows = static_cast<int>(halfRows);
    g.PlotCentre = RoundPixel(g.PlotHeight / 2.0) + g.PlotTop;
    if (!SymmetricInY(m)) {
        DefinePixels(g, m.DX, m.DY, g.NX + 1, 0, g.PlotCentre, g.PlotTop);
        DefineWholeRangeRows(g, m);
        return g;
    }
    DefinePixels(g, m.DX, m.DY, g.NX + 1, g.HalfRows, g.PlotCentre, g.PlotTop);
    // The last row drawn goes on the centre line whatever its y. When that
    // moves it further than a few pixels (a coarse grid: the plume would look
    // wider and the axis would show an off-axis row), each row is drawn at its
    // own y instead (and so when no row at all would be drawn): the centre
    // row on the line, or, when no row lies there, the row above the line
    // repeated on it.
    const double toCentre = CheckedDivide(g.YRange, m.DY) / 2;  // rows' steps from Y0 to the centre
    if (toCentre >= 0 && (g.HalfRows < 1 || g.PlotCentre - LastRowOwnPixel(g, m.DY) > kLargestLastRowShift)) {
        const double onLine = std::nearbyint(toCentre);
        g.CentreRowRepeated = std::fabs(toCentre - onLine) > 1e-9 * std::max(1.0, toCentre);
        g.HalfRows = g.CentreRowRepeated ? static_cast<int>(std::floor(toCentre)) + 2 : static_cast<int>(onLine) + 1;
        DefinePixels(g, m.DX, m.DY, g.NX + 1, g.HalfRows, g.PlotCentre, g.PlotTop);
    }
    return g;
}

}  // namespace kavrin
