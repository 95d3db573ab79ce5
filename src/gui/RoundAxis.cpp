#include "gui/RoundAxis.h"

#include <cmath>

namespace kavrin {

void SetRoundAxis(QValueAxis* axis, double low, double high)
{
    if (!(high > low)) {
        const double half = low != 0 ? std::fabs(low) / 10 : 1;
        low -= half;
        high += half;
    }
    const double raw = (high - low) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalised = raw / magnitude;
    const double step = (normalised < 1.5 ? 1 : normalised < 3 ? 2 : normalised < 7 ? 5 : 10) * magnitude;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(step);
    axis->setRange(std::floor(low / step) * step, std::ceil(high / step) * step);
}

}  // namespace kavrin
