#include "BatchCompare.h"

#include "BatchRun.h"
#include "calibration/Comparison.h"
#include "model/PhysicalChecks.h"
#include "model/SourceTextRules.h"
#include "solution/Parallel.h"
#include "text/Errors.h"
#include "text/NumberText.h"

namespace kavrin {

void PerformBatchCompare(const BatchCompareOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    const char separator = environment.separator;
    const ParameterTexts texts = BatchParameterTexts(options.paramsPath, options.projectPath, options.sets, separator,
                                                     options.stepsPath, options.zonesPath);
    // The comparison runs the model: the same refusals as a run.
    RefuseImpossibleTexts(texts, separator);
    ObservationTable table;
    table.Import(options.observationsPath, separator);
    ModelState model;
    QuadratureState quadrature;
    const Comparison comparison =
        CompareObservations(table.observations(), texts, environment.valoresPath, separator, model, quadrature, WorkerCount());

    out << "observed calculated residual\n";
    for (std::size_t i = 0; i < comparison.observations.size(); ++i) {
        const double observed = comparison.observations[i].C, calculated = comparison.calculated[i];
        out << FormatGeneral(observed, separator) << ' ' << FormatGeneral(calculated, separator) << ' '
            << FormatGeneral(observed - calculated, separator) << '\n';
    }
    const ComparisonStatistics& s = comparison.statistics;
    out << "R2 " << FormatFixed(s.R2, 4, separator) << ' ' << FormatGeneral(s.R2, separator) << '\n'
        << "MAE " << FormatFixed(s.MAE, 4, separator) << ' ' << FormatGeneral(s.MAE, separator) << '\n';
}

}  // namespace kavrin
