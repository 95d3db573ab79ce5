#include "workspace/ResultLoading.h"

#include "text/NumberText.h"
#include "text/TextFile.h"
#include "workspace/Workspace.h"

namespace kavrin {

std::string ResultFilePath(const std::string& root, const std::string& projectName, const std::string& tempo)
{
    return ProjectFolderPath(root, projectName) + "T" + tempo + ".txt";
}

bool LoadResultFile(const std::string& path, ResultGrid& grid, char separator)
{
    if (!FileExists(path)) return false;
    TextFileReader file(path);
    for (int m = 1; !file.atEnd(); ++m) {
        const std::string line = file.readLine();
        std::size_t start = 0;
        int k = 1;
        for (std::size_t blank; (blank = line.find(' ', start)) != std::string::npos; start = blank + 1, ++k)
            grid.set(k, m, ParseFloat(line.substr(start, blank - start), separator));
    }
    return true;
}

}  // namespace kavrin
