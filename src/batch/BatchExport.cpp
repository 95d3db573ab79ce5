#include "BatchExport.h"

#include "model/Variaveis.h"
#include "workspace/Workspace.h"
#include "files/ResultExports.h"
#include "files/ProjectFile.h"

namespace kavrin {

void PerformBatchExport(const BatchExportOptions& options, const BatchEnvironment& environment)
{
    const char separator = environment.separator;
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    ApplyProjectTexts(texts, project, separator);
    ModelState model;
    Variaveis(texts, model, separator);

    const auto convert = options.grid ? GrdAsccreate : TxtTabcreate;
    if (options.resultsPath) {
        convert(options.to, *options.resultsPath, 2, model, separator);
        return;
    }
    const std::string index = project.indexPath.empty() ? IndexPath(environment.root, project.projectName) : project.indexPath;
    convert(options.to, index, 1, model, separator);
}

}  // namespace kavrin
