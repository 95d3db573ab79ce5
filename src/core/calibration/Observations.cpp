#include "calibration/Observations.h"

#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

namespace kavrin {

ObservationsIncomplete::ObservationsIncomplete(ObservationCell cell)
    : CheckError("The observation table has empty cells. Fill in every cell before calculating."), cell(cell)
{
}

std::vector<Observation> ReadObservations(const std::vector<ObservationTexts>& rows, char separator)
{
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (std::size_t column = 0; column < rows[row].size(); ++column)
            if (rows[row][column].empty()) throw ObservationsIncomplete({static_cast<int>(row) + 1, static_cast<int>(column)});
    std::vector<Observation> observations;
    observations.reserve(rows.size());
    for (const ObservationTexts& row : rows) {
        auto value = [&](std::size_t column) {
            try {
                return ParseFloat(ArrumaDecimal(row[column], separator), separator);
            } catch (const ConversionError& error) {
                throw ObservationValueError(error, {static_cast<int>(observations.size()) + 1, static_cast<int>(column)});
            }
        };
        Observation o;
        o.C = value(0);
        o.X = value(1);
        o.Y = value(2);
        o.Z = value(3);
        o.T = value(4);
        observations.push_back(o);
    }
    return observations;
}

std::vector<double> CalculatedConcentrations(const std::vector<Observation>& observations, const ModelState& model,
                                             const QuadratureState& quadrature, unsigned workers)
{
    std::vector<double> calculated(observations.size());
    ParallelFor(static_cast<int>(observations.size()), 8, workers, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const Observation& o = observations[static_cast<std::size_t>(i)];
            calculated[static_cast<std::size_t>(i)] = PointValue(o.X, o.Y, o.Z, o.T, model, quadrature);
        }
    });
    return calculated;
}

}  // namespace kavrin
