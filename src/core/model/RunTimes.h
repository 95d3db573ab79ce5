// The times of a run, T0, T0 + DT, … up to T1, and the text that names each
// time's file: the one list that the run, the map, the charts and the exports
// all follow.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// A run writes one file per time: more than this is a typing slip, not a series.
constexpr std::uint64_t kMaximumRunTimes = 1000000;

// T0, T0 + DT, T0 + DT + DT, …: each time the double sum of the one before
// and DT, as the time files were always named. Unbounded: the caller stops.
class TimeSequence {
public:
    TimeSequence(double T0, double DT) : next_(T0), step_(DT) {}
    double next()
    {
        const double t = next_;
        next_ = next_ + step_;
        return t;
    }

private:
    double next_;
    double step_;
};

// Whether from, from + step, … (each sum a double) passes `to` within
// `maximumSteps` steps: the step is positive and finite and every addition
// moves the value. An empty series (to < from) is bounded when the step is
// positive and finite.
bool SeriesIsBounded(double from, double to, double step, double maximumSteps);

// The times of the sequence that are <= T1, or nothing when the sequence does
// not pass T1 within kMaximumRunTimes times (DT not positive or not finite, an
// addition that no longer moves the time, too many times). T1 < T0 gives no time.
std::optional<std::vector<double>> RunTimes(double T0, double T1, double DT);

// Whether the run's times are a list (T1 < T0 counts: an empty one).
bool TimeSeriesIsBounded(double T0, double T1, double DT);

// The general number format of a time: file names, lists and menus.
std::string TimeText(double t, char separator);

// The first two neighbouring times whose texts are equal, so that their files
// would have one name; the times of a run rise, so equal texts are neighbours.
std::optional<std::pair<double, double>> TimesSharingAName(const std::vector<double>& times, char separator);

}  // namespace kavrin
