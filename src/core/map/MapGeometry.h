// Where the map puts things: the plot area inside the 800 × 640 picture and
// the pixel of every drawn grid column and row.
#pragma once

#include "contour/PixelPoint.h"
#include "model/ModelState.h"
#include "text/Errors.h"

#include <vector>

namespace kavrin {

inline constexpr int kMapWidth = 800;
inline constexpr int kMapHeight = 640;
inline constexpr int kPlotLeft = 50;
inline constexpr int kPlotWidth = 550;
inline constexpr int kPlotRight = kPlotLeft + kPlotWidth;

// The most pixels the last drawn row may be moved to reach the centre line
// (the design grid's 1 m rows move 6); beyond it the rows keep their own y.
inline constexpr int kLargestLastRowShift = 8;

struct MapGeometry {
    double XRange = 0, YRange = 0;
    int NX = 0;  // grid cells along X; columns 1 … NX + 1 are drawn
    // Grid rows drawn, 1 … HalfRows, from Y0; the last one lies on the plot's
    // centre line. Where putting it there would move it more than
    // kLargestLastRowShift pixels from its own y, every row is drawn at its
    // own y: the grid's centre row on the line when a row lies there, else a
    // repeat of the row above the line (the rows above and below it are
    // mirror images, so the band between them holds that row's values).
    int HalfRows = 0;
    bool CentreRowRepeated = false;
    // A field that is not its own mirror image about y = 0 (a source zone
    // off the axis) is drawn whole: HalfRows then counts every row of the
    // time files, Round((Y1 − Y0) / DY) + 1, each at its own y, row 1 (Y0)
    // on the plot's bottom edge, as the axis labels and the readout have it
    // (a last row beyond Y1 on the top edge).
    bool WholeYRange = false;
    int PlotWidth = kPlotWidth;
    int PlotHeight = 0, PlotTop = 0, PlotCentre = 0;
    int SourcePixels = 0;
    std::vector<int> PixelX;  // PixelX[i - 1]: pixel x of column i
    std::vector<int> PixelY;  // PixelY[k - 1]: pixel y of row k
};

// A grid of more than 450 cells along X ('X') or Y ('Y'): the result grid
// holds 451 points, so a stale or edited model must not draw beyond them.
class MapGridTooLarge : public CheckError {
public:
    explicit MapGridTooLarge(char axis);
    char axis() const { return axis_; }

private:
    char axis_;
};

// The geometry of the model's grid, half of it mirrored or, for a field that
// is not symmetric about y = 0, all of it. Throws FloatError for a zero range
// or step; throws MapGridTooLarge.
MapGeometry DefineMapGeometry(const ModelState& model);

// Fills g.PixelX for `columns` columns and g.PixelY for `rows` rows: row 1 on
// `top`, each row at its own y, the last row on `centre`.
void DefinePixels(MapGeometry& g, double DX, double DY, int columns, int rows, int centre, int top);

}  // namespace kavrin
