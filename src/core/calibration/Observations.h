// Observations read from the table's texts, and the model's concentrations at them.
#pragma once

#include "calibration/ObservationTable.h"
#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "text/Errors.h"

#include <vector>

namespace kavrin {

// An observed concentration C (mg/L) at the point (X, Y, Z) (m) and time T (days).
struct Observation {
    double C = 0, X = 0, Y = 0, Z = 0, T = 0;
};

// A cell of the table: the observation (from 1) and its value (0: C, 1: X,
// 2: Y, 3: Z, 4: T).
struct ObservationCell {
    int row = 0, column = 0;
};

// The table has an empty cell; the window shows MsgObservationsIncomplete.
class ObservationsIncomplete : public CheckError {
public:
    explicit ObservationsIncomplete(ObservationCell cell = {});
    ObservationCell cell;  // the first empty one
};

// A cell's text is not a number: the conversion's own message, and where.
class ObservationValueError : public ConversionError {
public:
    ObservationValueError(const ConversionError& error, ObservationCell cell) : ConversionError(error), cell(cell) {}
    ObservationCell cell;
};

// Throws ObservationsIncomplete when any cell is empty (before anything is
// read), otherwise converts every cell through ArrumaDecimal and ParseFloat,
// row by row; a text that is not a number throws ObservationValueError.
std::vector<Observation> ReadObservations(const std::vector<ObservationTexts>& rows, char separator);

// PointValue (mg/L, with the source's history and zones) at each
// observation's own point and time, with the order in effect already loaded.
// With the plain source, observations that share a time share the
// quadrature's time factors, and those that also share a y (or z) share that
// transverse factor; each value is the point formula's own, bit for bit.
// The times are shared among `workers` threads and the result does not depend
// on their number. A failure of the solution throws its own error, for the
// first observation that has it.
std::vector<double> CalculatedConcentrations(const std::vector<Observation>& observations, const ModelState& model,
                                             const QuadratureState& quadrature, unsigned workers);

}  // namespace kavrin
