// The source's CSV tables from fuzzed bytes (--steps or --zones, by the first
// byte), then what a run does with texts they give: the source's checks, a
// project saved and opened again, and the mass balance of the model.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "BatchSourceFiles.h"
#include "files/ProjectFile.h"
#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "solution/MassBalance.h"
#include "text/Errors.h"

#include <cmath>

namespace kavrin::fuzz {

void SourceTables(const std::string& input)
{
    if (input.empty()) return;
    const bool steps = (input[0] & 1) != 0;
    const char separator = (input[0] & 2) != 0 ? ',' : '.';
    const std::string table = scratchFile("table.csv", input.substr(1));
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    try {
        if (steps)
            ApplyStepsFile(texts, table, separator);
        else
            ApplyZonesFile(texts, table, separator);
    } catch (const KavrinError&) {
        return;
    }
    // A table that is taken gives texts a project holds and gives back.
    const std::string project = scratchFolder() + "tables.kvr";
    WriteUnrunProjectFile(project, "p", "", texts);
    require(ReadProjectFile(project).texts.source == texts.source, "a table's texts open differently");

    if (CheckSourceTexts(texts, separator)) return;
    ModelState model;
    try {
        Variaveis(texts, model, separator);
    } catch (const KavrinError&) {
        return;  // the first zone's texts may be no physical values
    }
    if (!(model.DispX > 0 && model.DispY > 0 && model.DispZ > 0)) return;
    for (const MassBalanceRow& row : ComputeMassBalance(model, {0, 700, 2500})) {
        const double size = std::fabs(row.entered) + std::fabs(row.decayed) + std::fabs(row.dissolved) + std::fabs(row.sorbed);
        if (!std::isfinite(size)) continue;
        require(std::fabs(row.entered - row.decayed - row.dissolved - row.sorbed) <= 1e-9 * size, "the balance does not close");
    }
}

}  // namespace kavrin::fuzz
