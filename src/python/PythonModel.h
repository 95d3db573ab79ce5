// A model as the Python module holds it: the data window's texts (what a
// project file saves) and the model they give, with its quadrature table.
#pragma once

#include "model/ModelState.h"
#include "model/ParameterTexts.h"
#include "solution/FieldKernel.h"
#include "solution/Quadrature.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrin {

// The kernel's working memory of one model, kept from one call of `field` to
// the next (allocating it afresh costs more than a small grid's computation).
// A copy of the model starts with its own; calls from several Python threads
// take turns.
struct KeptTimeField {
    std::mutex mutex;
    TimeField field;
    KeptTimeField() = default;
    KeptTimeField(const KeptTimeField&) {}
    KeptTimeField& operator=(const KeptTimeField&) { return *this; }
};

// The quadrature of one model, loaded from the table the first time a
// computation asks for it. `points` and `field` run with the GIL released, so
// several Python threads may ask at once: one loads it while the others wait.
// A copy starts unloaded, for the model it belongs to.
struct KeptQuadrature {
    std::mutex mutex;
    std::atomic<bool> loaded{false};
    QuadratureState quadrature;
    KeptQuadrature() = default;
    KeptQuadrature(const KeptQuadrature&) {}
    KeptQuadrature& operator=(const KeptQuadrature&) = delete;
};

struct PythonModel {
    ParameterTexts texts;
    ModelState model;
    std::string valoresPath;
    KeptQuadrature quadrature;
    KeptTimeField kept;

    // The order in effect, loaded from the table once, whichever thread asks first.
    const QuadratureState& loadedQuadrature();
};

// The batch run's steps on the texts: the data window's initial texts, then the
// parameter or project file, then each (name, text) in order; the impossible
// values refused, then Variaveis. Throws what the batch tool throws.
PythonModel MakePythonModel(const std::optional<std::string>& paramsPath, const std::optional<std::string>& projectPath,
                            const std::vector<std::pair<std::string, std::string>>& sets, const std::string& valoresPath);

// The texts as a project file of that name saves them (not yet run: it points
// to no results), their numbers with `separator` as the batch tool's would be.
void SavePythonModel(const PythonModel& model, const std::string& path, char separator);

// Every field name (the data window's, then GaussOrder) with its text, then the source options' texts.
std::vector<std::pair<std::string, std::string>> ModelTexts(const PythonModel& model);

}  // namespace kavrin
