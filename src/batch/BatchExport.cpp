#include "BatchExport.h"

#include "BatchProject.h"
#include "files/ResultExports.h"

namespace kavrin {

void PerformBatchExport(const BatchExportOptions& options, const BatchEnvironment& environment)
{
    const char separator = environment.separator;
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const ModelState model = ProjectModel(project, separator);
    const auto convert = options.grid ? GrdAsccreate : TxtTabcreate;
    if (options.resultsPath) {
        convert(options.to, *options.resultsPath, 2, model, separator);
        return;
    }
    convert(options.to, ProjectIndex(project, environment), 1, model, separator);
}

}  // namespace kavrin
