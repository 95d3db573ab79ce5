#include "PythonModel.h"

#include "BatchRun.h"
#include "files/ProjectFile.h"
#include "model/Variaveis.h"
#include "text/DateTimeText.h"

#include <ctime>
#include <filesystem>

namespace kavrin {

namespace {
constexpr char kSeparator = '.';  // Python's numbers, whatever the machine's language
}

const QuadratureState& PythonModel::loadedQuadrature()
{
    if (!quadrature.loaded.load(std::memory_order_acquire)) {
        std::lock_guard lock(quadrature.mutex);
        // A load that throws leaves it unloaded, for the next call to try again.
        if (!quadrature.loaded.load(std::memory_order_relaxed)) {
            LoadGaussOrder(quadrature.quadrature, model.GaussOrder, valoresPath, kSeparator);
            quadrature.loaded.store(true, std::memory_order_release);
        }
    }
    return quadrature.quadrature;
}

PythonModel MakePythonModel(const std::optional<std::string>& paramsPath, const std::optional<std::string>& projectPath,
                            const std::vector<std::pair<std::string, std::string>>& sets, const std::string& valoresPath)
{
    PythonModel made;
    made.texts = BatchParameterTexts(paramsPath, projectPath, sets, kSeparator);
    RefuseImpossibleTexts(made.texts, kSeparator);
    Variaveis(made.texts, made.model, kSeparator);
    made.valoresPath = valoresPath;
    return made;
}

void SavePythonModel(const PythonModel& model, const std::string& path, char separator)
{
    const std::string name = std::filesystem::path(path).stem().string();
    ParameterTexts texts = model.texts;
    ArrumaCampos(texts, separator);
    WriteUnrunProjectFile(path, name, DateTimeText(std::time(nullptr)), texts);
}

std::vector<std::pair<std::string, std::string>> ModelTexts(const PythonModel& model)
{
    std::vector<std::pair<std::string, std::string>> texts;
    for (const ParameterField& field : kParameterFields) texts.emplace_back(field.field, model.texts.edit[field.edit]);
    texts.emplace_back("GaussOrder", model.texts.comboBox1);
    for (const SourceText& text : model.texts.source) texts.emplace_back(text.name, text.value);
    return texts;
}

}  // namespace kavrin
