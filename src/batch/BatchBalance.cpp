#include "BatchBalance.h"

#include "BatchRun.h"
#include "model/PhysicalChecks.h"
#include "model/RunChecks.h"
#include "model/RunTimes.h"
#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "solution/MassBalance.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>

namespace kavrin {

void PerformBatchBalance(const BatchBalanceOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    const char separator = environment.separator;
    const ParameterTexts texts = BatchParameterTexts(options.paramsPath, options.projectPath, options.sets, separator,
                                                     options.stepsPath, options.zonesPath);
    RefuseImpossibleTexts(texts, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    if (const auto refusal = CheckTimeSeries(model)) throw CheckError(EnglishRefusalText(*refusal));

    std::string csv = "time,entered,decayed,dissolved,sorbed,discharge_control,discharge_edge\n";
    const auto number = [](double value) { return std::isnan(value) ? std::string() : FormatGeneral(value, '.'); };
    for (const MassBalanceRow& row : ComputeMassBalance(model, RunTimes(model.T0, model.T1, model.DT).value())) {
        csv += number(row.time) + "," + number(row.entered) + "," + number(row.decayed) + "," + number(row.dissolved) + "," +
               number(row.sorbed) + "," + number(row.dischargeControl) + "," + number(row.dischargeEdge) + "\n";
    }
    out << csv;
}

}  // namespace kavrin
