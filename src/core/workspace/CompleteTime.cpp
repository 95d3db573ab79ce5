#include "workspace/CompleteTime.h"

#include "model/RunTimes.h"
#include "text/Errors.h"
#include "text/TextFile.h"
#include "workspace/ResultLoading.h"
#include "workspace/ResultShape.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kavrin {

namespace {

bool holdsTheWholeGrid(const std::string& path, const ResultShape& shape)
{
    try {
        TextFileReader file(path);
        long long rows = 0;
        while (!file.atEnd()) {
            const std::string line = file.readLine();
            CheckResultRow(path, static_cast<int>(std::min<long long>(++rows, 1 << 30)), line, shape);
        }
        CheckResultRowCount(path, rows, shape);
        return true;
    } catch (const FileError&) {
        return false;
    } catch (const FileFormatError&) {
        return false;
    }
}

}  // namespace

bool IsListedCompleteTime(const ModelState& model, const std::string& root, const std::string& projectName,
                          const std::string& indexPath, const std::string& tempo, char separator)
{
    const std::optional<std::vector<double>> times = ListedRunTimes(model, indexPath);
    if (!times) return false;
    const bool listed = std::any_of(times->begin(), times->end(), [&](double t) { return TimeText(t, separator) == tempo; });
    if (!listed) return false;
    const std::string path = ResultFilePath(root, projectName, tempo);
    if (!FileExists(path)) return false;
    return holdsTheWholeGrid(path, ResultShapeOf(model, separator));
}

}  // namespace kavrin
