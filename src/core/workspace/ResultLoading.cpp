#include "workspace/ResultLoading.h"

#include "text/NumberText.h"
#include "text/RegularFile.h"
#include "text/TextFile.h"
#include "workspace/ResultShape.h"
#include "workspace/ResultValues.h"
#include "workspace/Workspace.h"

#include <vector>

namespace kavrin {

std::string ResultFilePath(const std::string& root, const std::string& projectName, const std::string& tempo)
{
    return ProjectFolderPath(root, projectName) + "T" + tempo + ".txt";
}

namespace {

void storeRow(const std::string& line, int m, ResultGrid& grid, char separator)
{
    std::size_t start = 0;
    int k = 1;
    for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1, ++k)
        grid.set(k, m, ParseFloat(line.substr(start, blank - start), separator));
}

}  // namespace

bool LoadResultFile(const std::string& path, ResultGrid& grid, char separator)
{
    RequireRegularFileOrNothing(path);  // a pipe or a folder there is no missing file
    if (!FileExists(path)) return false;
    TextFileReader file(path);
    for (int m = 1; !file.atEnd(); ++m) storeRow(file.readLine(), m, grid, separator);
    return true;
}

bool LoadResultFile(const std::string& path, ResultGrid& grid, const ModelState& model, char separator)
{
    RequireRegularFileOrNothing(path);
    if (!FileExists(path)) return false;
    const ResultShape shape = ResultShapeOf(model, separator);
    // The values wait until the whole file has passed: a refused file leaves
    // the grid as it was.
    LargeBuffer<double> values;
    const std::optional<int> plainRows = ReadPlainResultValues(path, shape, separator, values);
    const int m = plainRows ? *plainRows : ReadResultValuesByLines(path, shape, separator, values);
    CheckResultRowCount(path, m, shape);
    if (values.empty()) return true;
    const auto perRow = static_cast<std::size_t>(shape.values);  // every row held this many
    for (std::size_t row = 0, n = 0; n < values.size(); ++row)
        for (std::size_t k = 0; k < perRow; ++k, ++n) grid.set(static_cast<int>(k) + 1, static_cast<int>(row) + 1, values[n]);
    return true;
}

}  // namespace kavrin
