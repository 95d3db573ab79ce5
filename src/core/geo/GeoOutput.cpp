#include "geo/GeoOutput.h"

#include "text/Errors.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace kavrin {

namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

}  // namespace

GeoOutput::GeoOutput(const std::string& path, const std::vector<std::string>& read, const std::string& resultsFolder)
    : path_(path)
{
    if (path.empty() || fs::path(path).filename().empty()) throw FileError(ENOENT, path);
    for (const std::string& input : read)
        if (sameFile(path, input)) throw CheckError(path + " is a file the export reads; nothing was written.");
    const fs::path folder = fs::path(path).parent_path().empty() ? fs::path(".") : fs::path(path).parent_path();
    if (!resultsFolder.empty() && sameFile(folder.string(), resultsFolder))
        throw CheckError(path + " lies in the project's results folder, which holds only its times; nothing was written.");
    const fs::path name = fs::path(path).filename();
    writing_ = (folder / ('.' + name.stem().string() + ".partial" + name.extension().string())).string();
    std::error_code ignored;
    fs::remove(writing_, ignored);
}

GeoOutput::~GeoOutput()
{
    if (committed_) return;
    std::error_code ignored;
    fs::remove(writing_, ignored);
}

void GeoOutput::commit()
{
    if (std::rename(writing_.c_str(), path_.c_str()) != 0) throw FileError(errno, path_);
    committed_ = true;
}

}  // namespace kavrin
