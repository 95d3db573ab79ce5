#include "uncertainty/ReceptorStatistics.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

double ExactPercentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    const double rank = p * static_cast<double>(values.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(rank));
    const std::size_t above = std::min(below + 1, values.size() - 1);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(below), values.end());
    const double low = values[below];
    const double high =
        above == below ? low : *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(above), values.end());
    return low + (rank - static_cast<double>(below)) * (high - low);
}

std::vector<ReceptorTimeSummary> SummariseReceptor(const std::vector<std::vector<double>>& values, double standard)
{
    std::vector<ReceptorTimeSummary> summaries;
    const std::size_t realizations = values.empty() ? 0 : values.front().size();
    std::vector<char> exceededBefore(realizations, 0);
    std::size_t ever = 0;
    for (const std::vector<double>& atTime : values) {
        ReceptorTimeSummary summary;
        std::size_t above = 0, first = 0;
        long double sum = 0;
        for (std::size_t i = 0; i < atTime.size(); ++i) {
            sum += atTime[i];
            if (atTime[i] > standard) {
                ++above;
                if (!exceededBefore[i]) ++first;
                exceededBefore[i] = 1;
            }
        }
        const double n = static_cast<double>(std::max<std::size_t>(atTime.size(), 1));
        summary.mean = static_cast<double>(sum / n);
        summary.p05 = ExactPercentile(atTime, 0.05);
        summary.p50 = ExactPercentile(atTime, 0.50);
        summary.p95 = ExactPercentile(atTime, 0.95);
        summary.exceeded = static_cast<double>(above) / n;
        summary.firstExceeded = static_cast<double>(first) / n;
        ever += first;
        summary.exceededByNow = static_cast<double>(ever) / n;
        summaries.push_back(summary);
    }
    return summaries;
}

}  // namespace kavrin
