#include "charts/ValueList.h"

#include "charts/GridAxis.h"
#include "text/NumberText.h"

namespace kavrin {

std::vector<std::string> ValueList(double start, double step, double end, const std::string& stepName, char separator)
{
    if (!(step > 0)) throw StepRefused(stepName);
    std::size_t count = 0;
    for (double v = start; v <= end; v += step)
        if (++count > kMaxListValues) throw StepRefused(stepName);
    std::vector<std::string> values;
    values.reserve(count);
    for (double v = start; v <= end; v += step) values.push_back(FormatGeneral(v, separator));
    return values;
}

}  // namespace kavrin
