#include "calibration/ObservationWeights.h"

#include "calibration/FitMessage.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

std::vector<double> ObservationWeights(const std::vector<std::string>& texts, const std::vector<Observation>& observations,
                                       WeightRule rule, double detectionLimit, char separator)
{
    std::vector<double> weights;
    weights.reserve(observations.size());
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const std::string text = i < texts.size() ? texts[i] : std::string();
        const std::string row = std::to_string(i + 1);
        double weight = 1;
        if (text.find_first_not_of(" \t") != std::string::npos) {
            try {
                weight = ParseFloat(ArrumaDecimal(text, separator), separator);
            } catch (const ConversionError&) {
                throw FitRefusal({FitMessageId::BadWeight, {row, Excerpt(text)}});
            }
            if (!(weight > 0) || !std::isfinite(weight)) throw FitRefusal({FitMessageId::BadWeight, {row, Excerpt(text)}});
        }
        if (rule == WeightRule::Relative) {
            const double scale = std::max(observations[i].C, detectionLimit);
            weight /= scale * scale;
            if (!(scale > 0) || !std::isfinite(weight) || !(weight > 0))
                throw FitRefusal({FitMessageId::RelativeWeightNotPositive, {row}});
        }
        weights.push_back(weight);
    }
    return weights;
}

}  // namespace kavrin
