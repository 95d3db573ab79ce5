#include "text/SafeSave.h"

#include "text/Errors.h"
#include "text/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace kavrin {

namespace {

// A name beside the target that no other save of this or another process uses.
std::string temporaryName(const std::string& path)
{
    static std::atomic<unsigned> counter{0};
    return path + ".kavrin-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

}  // namespace

void SaveTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    const std::string temporary = temporaryName(path);
    try {
        TextFileWriter file(temporary);
        for (const std::string& line : lines) file.writeLine(line);
        file.close();
    } catch (const FileError& error) {
        std::remove(temporary.c_str());
        throw FileError(error.code(), path);  // the user knows the file by its own name
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int code = errno ? errno : EIO;
        std::remove(temporary.c_str());
        throw FileError(code, path);
    }
}

}  // namespace kavrin
