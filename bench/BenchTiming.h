// The benchmarks' clock: the median (and spread) of repeated runs of a piece of work.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace kavrin::bench {

struct Figure {
    double median = 0, low = 0, high = 0;  // seconds
};

// `repeats` calls of `work`: the median, fastest and slowest. `after`, when
// given, runs after each call, outside the time.
inline Figure measure(int repeats, const std::function<void()>& work, const std::function<void()>& after = {})
{
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (after) after();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

// Median seconds of `repeats` calls.
inline double seconds(int repeats, const std::function<void()>& work)
{
    return measure(repeats, work).median;
}

}  // namespace kavrin::bench
