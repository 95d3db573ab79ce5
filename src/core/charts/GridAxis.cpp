#include "charts/GridAxis.h"

#include "text/NumberText.h"
#include "workspace/ResultGrid.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

StepRefused::StepRefused(const std::string& stepName)
    : CheckError("The step " + stepName + " must be greater than zero and small enough for at most 1000000 values."),
      stepName_(stepName)
{
}

namespace {

std::string outsideText(const GridAxis& axis, double position, char separator)
{
    const std::string& n = axis.name;
    if (axis.count < 1)
        return n + " = " + FormatGeneral(position, separator) + " is outside the grid, which has no nodes along " + n + ".";
    return n + " = " + FormatGeneral(position, separator) + " is outside the grid, which goes from " + n + " = " +
           FormatGeneral(axis.position(1), separator) + " to " + n + " = " + FormatGeneral(axis.position(axis.count), separator) +
           ".";
}

GridAxis axisOf(const char* name, const char* stepName, double start, double end, double step)
{
    if (!(step > 0)) throw StepRefused(stepName);
    const double nodes = std::nearbyint((end - start) / step) + 1;
    const int count = std::isnan(nodes) ? 0 : static_cast<int>(std::clamp(nodes, 0.0, double(ResultGrid::kSize)));
    return GridAxis{name, start, step, count};
}

}  // namespace

PositionOutsideGrid::PositionOutsideGrid(const GridAxis& grid, double where, char separator)
    : CheckError(outsideText(grid, where, separator)), axis(grid.name), position(where), first(grid.position(1)),
      last(grid.position(std::max(grid.count, 1)))
{
}

GridAxis XAxisOf(const ModelState& model)
{
    return axisOf("X", "DX", model.X0, model.X1, model.DX);
}
GridAxis YAxisOf(const ModelState& model)
{
    return axisOf("Y", "DY", model.Y0, model.Y1, model.DY);
}

double NodeNumber(double value, double start, double step)
{
    return std::nearbyint((value - start) / step) + 1;  // the default rounding mode: halves to even
}

int NodeOf(const GridAxis& axis, double value, char separator)
{
    if (!(axis.step > 0)) throw StepRefused("D" + axis.name);
    const double node = NodeNumber(value, axis.start, axis.step);
    if (!(node >= 1 && node <= axis.count)) throw PositionOutsideGrid(axis, value, separator);
    return static_cast<int>(node);
}

}  // namespace kavrin
