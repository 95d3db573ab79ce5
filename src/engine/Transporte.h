// One time of the field: every grid point of the plane z = PlaneZ, written row
// by row to the open time file and kept in ResultGrid.
#pragma once

#include "engine/ModelState.h"
#include "engine/Quadrature.h"
#include "engine/ResultGrid.h"
#include "engine/TextFile.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kavrin {

struct RunProgress {
    std::uint64_t PointsDone = 0;
    std::uint64_t PointsTotal = 0;
    double CurrentTime = 0;
};

// The progress bar's position: 100·done/total rounded, halves to even.
int ProgressPosition(const RunProgress& progress);

// Called before every row is computed, so a window can repaint; may be empty.
using RowCallback = std::function<void(const RunProgress&)>;

struct TransportContext {
    const ModelState& model;
    QuadratureState& quadrature;
    ResultGrid& grid;
    RunProgress& progress;
    std::string valoresPath;
    char separator = '.';
    RowCallback onRow;
};

// Loads the order in effect, then computes every point with the point formula
// (y ascending by rows, x ascending within a row), writing "value " per point
// and CR LF per row. Errors propagate; the rows written so far stay.
void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile);

}  // namespace kavrin
