// The X and Y axes of the result grid as the charts see them, the node nearest
// to a typed position and the refusals of positions and steps that do not fit.
#pragma once

#include "model/ModelState.h"
#include "text/Errors.h"

#include <string>

namespace kavrin {

// Nodes start, start + step, … : `count` of them, named "X" or "Y".
struct GridAxis {
    std::string name;
    double start = 0;
    double step = 0;
    int count = 0;

    double position(int node) const { return start + (node - 1) * step; }  // by multiplication
};

// A step (DX, DY or DT) with which a list or a node would never be found:
// zero, negative, not a number, or too small for the range.
class StepRefused : public CheckError {
public:
    explicit StepRefused(const std::string& stepName);
    const std::string& stepName() const { return stepName_; }

private:
    std::string stepName_;
};

// A position whose node is not on the grid (or not in the results file).
class PositionOutsideGrid : public CheckError {
public:
    PositionOutsideGrid(const GridAxis& axis, double position, char separator);
    std::string axis;
    double position, first, last;
};

// X0, DX and Round((X1 − X0)/DX) + 1 nodes, no more than ResultGrid holds.
// A DX of zero or less throws StepRefused. The same for Y.
GridAxis XAxisOf(const ModelState& model);
GridAxis YAxisOf(const ModelState& model);

// Round((value − start)/step) + 1, halves to even; a double, so that no
// position overflows it.
double NodeNumber(double value, double start, double step);

// The node of a position, 1 … count; outside that throws PositionOutsideGrid.
int NodeOf(const GridAxis& axis, double value, char separator);

}  // namespace kavrin
