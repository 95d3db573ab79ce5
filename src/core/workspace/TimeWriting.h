// One time of the field (Transporte): every grid point of the plane z = PlaneZ,
// written row by row to the open time file and kept in ResultGrid.
#pragma once

#include "model/ModelState.h"
#include "solution/FieldKernel.h"
#include "solution/Quadrature.h"
#include "text/TextFile.h"
#include "workspace/FieldText.h"
#include "workspace/ResultGrid.h"
#include "workspace/RunProgress.h"

#include <string>

namespace kavrin {

struct TransportContext {
    const ModelState& model;
    QuadratureState& quadrature;
    ResultGrid* grid;  // keeps the values written last, or nullptr when nothing reads them
    RunProgress& progress;
    std::string valoresPath;
    char separator = '.';
    RowCallback onRow;
    bool reference = false;      // every point by the point formula, value by value
    unsigned workers = 1;        // threads of the whole-grid kernel and of the formatting
    TimeField field{};           // the kernel's result and working memory, reused each time
    FieldText texts[2]{};        // the texts of the block being written and of the next, reused each time
    bool stopRequested = false;  // set once the callback asked to stop after this time
};

// Loads the order in effect, then computes every point (y ascending by rows,
// x ascending within a row), writing "value " per point and CR LF per row.
// The whole-grid kernel computes the time before anything is written; the
// reference path writes as it goes. Errors propagate; rows written stay.
void Transporte(double TAtual, TransportContext& context, TextFileWriter& timeFile);

// Writes a computed time: its texts are formatted a block of rows at a time on
// the context's workers, and each block is written, in row order, on a thread
// of its own while the next one is formatted. Each row is announced to the callback first
// and its values kept in the context's ResultGrid, if any. The bytes do not depend on the workers.
void WriteTimeField(const TimeField& field, TransportContext& context, TextFileWriter& timeFile);

}  // namespace kavrin
