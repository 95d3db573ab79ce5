// The concentration field of one time, computed for the whole grid at once.
#pragma once

#include "model/ModelState.h"
#include "solution/LargeBuffer.h"
#include "solution/Quadrature.h"

namespace kavrin {

// Concentrations in mg/L, row by row (y ascending), x ascending within a row,
// and the working memory of their computation, kept from one time to the next.
struct TimeField {
    int rows = 0;
    int columns = 0;
    LargeBuffer<double> values;
    LargeBuffer<double> exponentials, yLower, yFactors, sums;
    LargeBuffer<double> history;  // the sum of the switched-on fields of a stopped release or steps
    double at(int row, int column) const
    {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
    }
};

// Within one time the quadrature sum factorises: exp(m) depends on (column,
// node), the erfc difference in Y on (row, node), the Z factor on the node
// only. So the field is one matrix product plus O((rows + columns) × nodes)
// special functions, on all workers. Points that the product cannot carry
// (x <= 0, exp(m) above 1, a non-finite value) and times it cannot handle
// (t <= 0, no nodes, non-positive dispersion) take the point formula, so a
// failure is the one the point formula raises first in row order, and it is
// raised before the caller writes anything. Results do not depend on `workers`.
void ComputeTimeField(double TT, const ModelState& model, const QuadratureState& quadrature, unsigned workers, TimeField& field);

// Every point by the point formula: the reference the fast form is checked against.
void ComputeTimeFieldByPoints(double TT, const ModelState& model, const QuadratureState& quadrature, unsigned workers,
                              TimeField& field);

// The bare product S = Y·E of the kernel (Y rows × n, E n × columns, row-major;
// row k of S starts at S + k·stride), for rows [rowBegin, rowEnd) of S.
// Exposed for the benchmark.
void MultiplyRows(const double* Y, int n, const double* E, int columns, double* S, std::size_t stride, int rowBegin, int rowEnd);

}  // namespace kavrin
