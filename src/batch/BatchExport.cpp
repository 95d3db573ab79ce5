#include "BatchExport.h"

#include "BatchProject.h"
#include "files/ResultExports.h"

namespace kavrin {

void PerformBatchExport(const BatchExportOptions& options, const BatchEnvironment& environment)
{
    const char separator = environment.separator;
    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const ModelState model = ProjectModel(project, separator);
    const ExportFormat format = options.grid ? ExportFormat::Grid : ExportFormat::Table;
    // The project file is read too: no output may replace it.
    const std::vector<std::string> alsoRead{options.projectPath};
    if (options.resultsPath) {
        ExportResults(format, options.to, *options.resultsPath, 2, model, separator, alsoRead);
        return;
    }
    ExportResults(format, options.to, ProjectIndex(project, environment), 1, model, separator, alsoRead);
}

}  // namespace kavrin
