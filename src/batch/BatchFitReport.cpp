#include "BatchFitReport.h"

#include "calibration/DistanceFromSource.h"
#include "text/DecimalSeparator.h"

#include <cstdio>

namespace kavrin {

std::string FitCell(double value, char separator, int width)
{
    char text[64];
    std::snprintf(text, sizeof text, "%*.6g", width, value);
    return ArrumaDecimal(text, separator);
}

std::string FitPadded(const std::string& text, int width)
{
    return text.size() >= static_cast<std::size_t>(width)
               ? text
               : std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

void WriteSeveralStarts(std::ostream& out, const SeveralStartsResult& starts, char separator)
{
    out << starts.starts << " starts (seed " << starts.seed << "): " << starts.reachedBest << " reached the best objective";
    if (starts.failed > 0) out << ", " << starts.failed << " failed";
    out << '\n';
    if (starts.others.empty()) return;
    out << "other minima\n" << FitPadded("objective") << FitPadded("starts");
    for (const FittedParameter& p : starts.best.parameters) out << FitPadded(InfoOf(p.parameter).name);
    out << '\n';
    for (const FoundMinimum& minimum : starts.others) {
        out << FitCell(minimum.objective, separator) << FitPadded(std::to_string(minimum.starts));
        for (double value : minimum.values) out << FitCell(value, separator);
        out << '\n';
    }
}

void WriteConditioning(std::ostream& out, const FitResult& result, char separator)
{
    out << "condition number of the Jacobian " << FitCell(result.conditionNumber, separator, 0) << '\n';
    if (result.weakestCombination.empty()) return;
    out << "poorly determined combination (log for positive parameters):";
    for (std::size_t j = 0; j < result.weakestCombination.size(); ++j)
        out << ' ' << FitCell(result.weakestCombination[j], separator, 0) << ' ' << InfoOf(result.parameters[j].parameter).name;
    out << '\n';
}

void WriteProfileIntervals(std::ostream& out, const std::vector<ProfileInterval>& intervals, char separator)
{
    if (intervals.empty()) return;
    out << "\nprofile-likelihood 95% intervals\n"
        << FitPadded("parameter") << FitPadded("lower") << FitPadded("upper") << FitPadded("fits") << '\n';
    for (const ProfileInterval& interval : intervals) {
        // An end on its bound: the interval goes on beyond it.
        out << FitPadded(InfoOf(interval.parameter).name)
            << (interval.lowerAtBound ? FitPadded("<= " + FitCell(interval.lower, separator, 0))
                                      : FitCell(interval.lower, separator))
            << (interval.upperAtBound ? FitPadded(">= " + FitCell(interval.upper, separator, 0))
                                      : FitCell(interval.upper, separator))
            << FitPadded(std::to_string(interval.fits)) << '\n';
    }
}

void WriteResiduals(std::ostream& out, const std::vector<Observation>& observations, const FitResult& result, char separator)
{
    out << "\nresiduals\n"
        << FitPadded("observation") << FitPadded("T") << FitPadded("distance") << FitPadded("observed") << FitPadded("calculated")
        << FitPadded("residual") << '\n';
    for (std::size_t i = 0; i < observations.size(); ++i)
        out << FitPadded(std::to_string(i + 1)) << FitCell(observations[i].T, separator)
            << FitCell(DistanceFromSource(observations[i], result.model), separator) << FitCell(observations[i].C, separator)
            << FitCell(result.calculatedAfter[i], separator) << FitCell(result.residualsAfter[i], separator) << '\n';
}

}  // namespace kavrin
