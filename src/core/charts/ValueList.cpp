#include "charts/ValueList.h"

#include "charts/GridAxis.h"
#include "model/RunTimes.h"
#include "text/NumberText.h"

namespace kavrin {

std::vector<std::string> ValueList(double start, double step, double end, const std::string& stepName, char separator)
{
    // The run's own list of times, whose rule the position lists follow too.
    const std::optional<std::vector<double>> list = RunTimes(start, end, step);
    if (!list) throw StepRefused(stepName);
    std::vector<std::string> values;
    values.reserve(list->size());
    for (double v : *list) values.push_back(FormatGeneral(v, separator));
    return values;
}

}  // namespace kavrin
