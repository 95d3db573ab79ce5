#include "model/RunTimes.h"

#include "text/NumberText.h"

#include <cmath>

namespace kavrin {

bool SeriesIsBounded(double from, double to, double step, double maximumSteps)
{
    if (!(step > 0) || !std::isfinite(step)) return false;
    if (!(from <= to)) return true;
    if (!((to - from) / step <= maximumSteps)) return false;
    for (double value = from; value <= to; value = value + step)
        if (value + step == value) return false;
    return true;
}

std::optional<std::vector<double>> RunTimes(double T0, double T1, double DT)
{
    if (!(DT > 0) || !std::isfinite(DT)) return std::nullopt;
    std::vector<double> times;
    if (!(T0 <= T1)) return times;
    // Quick refusal of a range that holds far too many steps, before counting them.
    if (!((T1 - T0) / DT <= static_cast<double>(kMaximumRunTimes))) return std::nullopt;
    TimeSequence sequence(T0, DT);
    for (double t = sequence.next(); t <= T1; t = sequence.next()) {
        if (times.size() == kMaximumRunTimes) return std::nullopt;
        if (!times.empty() && t == times.back()) return std::nullopt;  // the addition no longer moves
        times.push_back(t);
    }
    return times;
}

bool TimeSeriesIsBounded(double T0, double T1, double DT)
{
    if (!(T0 <= T1)) return true;
    return RunTimes(T0, T1, DT).has_value();
}

std::string TimeText(double t, char separator)
{
    return FormatGeneral(t, separator);
}

std::optional<std::pair<double, double>> TimesSharingAName(const std::vector<double>& times, char separator)
{
    std::string before;
    for (std::size_t k = 0; k < times.size(); ++k) {
        std::string text = TimeText(times[k], separator);
        if (k > 0 && text == before) return std::pair{times[k - 1], times[k]};
        before = std::move(text);
    }
    return std::nullopt;
}

}  // namespace kavrin
