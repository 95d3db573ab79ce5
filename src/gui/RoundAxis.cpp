#include "gui/RoundAxis.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

constexpr double kLeastSpan = 1e-10;
constexpr double kLeastRelativeSpan = 1e-9;
constexpr int kLeastDigits = 6;
// Ticks computed as multiples of the step land a rounding away from whole.
constexpr double kTickSlack = 1e-6;
// Bits kept of the step's binary mantissa: a few steps from zero are then
// exact sums of it.
constexpr int kStepBits = 30;

// The step nearest `step` whose binary mantissa has kStepBits bits. The chart
// labels ticks by adding the step to the first one; with such a step the sums
// near zero are exact, so zero reads "0" rather than "-6.5E-27".
double shortMantissa(double step)
{
    int exponent = 0;
    const double mantissa = std::frexp(step, &exponent);
    return std::ldexp(std::round(std::ldexp(mantissa, kStepBits)), exponent - kStepBits);
}

}  // namespace

void SetRoundAxis(QValueAxis* axis, double low, double high, double margin)
{
    const double beyond = (high - low) * margin;
    low -= beyond;
    high += beyond;
    if (!(high > low)) {
        const double half = low != 0 ? std::fabs(low) / 10 : 1;
        low -= half;
        high += half;
    }
    const double largest = std::max(std::fabs(low), std::fabs(high));
    const double least = std::max(kLeastSpan, kLeastRelativeSpan * largest);
    if (high - low < least) {
        const double middle = low / 2 + high / 2;
        low = middle - least / 2;
        high = middle + least / 2;
    }
    const double raw = (high - low) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normalised = raw / magnitude;
    const double round = (normalised < 1.5 ? 1 : normalised < 3 ? 2 : normalised < 7 ? 5 : 10) * magnitude;
    const double step = shortMantissa(round);
    double first = std::floor(low / round + kTickSlack) * round;
    const double last = std::ceil(high / round - kTickSlack) * round;
    // With zero among the ticks the first is a whole number of steps from it.
    if (first < 0 && last > 0) first = std::round(first / round) * step;
    // Enough digits for the largest tick to differ from its neighbour.
    const double widest = std::max(std::fabs(first), std::fabs(last));
    const int digits = std::max(kLeastDigits, static_cast<int>(std::ceil(std::log10(widest / step))) + 1);
    // An axis left to the chart's own format keeps it while six digits do.
    if (digits > kLeastDigits || !axis->labelFormat().isEmpty()) axis->setLabelFormat(QString("%.%1g").arg(digits));
    axis->setTickType(QValueAxis::TicksDynamic);
    // The ticks run from the range's start; the sums' rounding far from zero
    // must not drop the last one.
    axis->setTickAnchor(first);
    axis->setTickInterval(step);
    axis->setRange(first, last + step * kTickSlack);
}

}  // namespace kavrin
