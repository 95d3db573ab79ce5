#include "BatchExport.h"

#include "model/Variaveis.h"
#include "workspace/Workspace.h"
#include "files/ResultExports.h"
#include "files/ProjectFile.h"

namespace kavrin {

void PerformBatchExport(const BatchExportOptions& options, char separator)
{
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    AssignEditTexts(texts, project.texts, separator);
    texts.comboBox1 = project.texts.comboBox1;
    ModelState model;
    Variaveis(texts, model, separator);

    const auto convert = options.grid ? GrdAsccreate : TxtTabcreate;
    if (options.resultsPath) {
        convert(options.to, *options.resultsPath, 2, model, separator);
        return;
    }
    const std::string index = project.indexPath.empty() ? IndexPath(WorkspaceRoot(), project.projectName) : project.indexPath;
    convert(options.to, index, 1, model, separator);
}

}  // namespace kavrin
