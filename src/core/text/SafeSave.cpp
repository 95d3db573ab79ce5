#include "text/SafeSave.h"

#include "text/TextFile.h"

namespace kavrin {

void SaveTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    // The writer saves beside the file and renames over it only when complete,
    // keeping the file's permissions.
    TextFileWriter file(path);
    for (const std::string& line : lines) file.writeLine(line);
    file.close();
}

}  // namespace kavrin
