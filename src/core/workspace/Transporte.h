// One time of the field: every grid point of the plane z = PlaneZ, written row
// by row to the open time file and kept in ResultGrid.
#pragma once

#include "solution/FieldKernel.h"
#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "workspace/ResultGrid.h"
#include "text/TextFile.h"

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
    bool reference = false;  // every point by the point formula, value by value
    unsigned workers = 1;    // threads of the whole-grid kernel
    TimeField field {};      // the kernel's result and working memory, reused each time
};

// Loads the order in effect, then computes every point (y ascending by rows,
// x ascending within a row), writing "value " per point and CR LF per row.
// The whole-grid kernel computes the time before anything is written; the
// reference path writes as it goes. Errors propagate; rows written stay.
void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile);

}  // namespace kavrin
