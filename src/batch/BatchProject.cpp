#include "BatchProject.h"

#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "workspace/Workspace.h"

namespace kavrin {

ModelState ProjectModel(const ProjectFileContents& project, char separator)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    ApplyProjectTexts(texts, project, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    return model;
}

std::string ProjectIndex(const ProjectFileContents& project, const BatchEnvironment& environment)
{
    return project.indexPath.empty() ? IndexPath(environment.root, project.projectName) : project.indexPath;
}

}  // namespace kavrin
