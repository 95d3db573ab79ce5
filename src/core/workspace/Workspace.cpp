#include "workspace/Workspace.h"

#include "text/Errors.h"
#include "text/TextFile.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

std::string WorkspaceRoot()
{
    std::string root;
    if (const char* forced = std::getenv("KAVRIN_ROOT"); forced && *forced) {
        root = forced;
    } else {
        const char* home = std::getenv("HOME");
        root = std::string(home && *home ? home : "/tmp") + "/KAVRIN";
    }
    // One fixed absolute folder: the index lines are full paths.
    if (root.front() != '/') root = std::filesystem::absolute(root).lexically_normal().string();
    if (root.back() != '/') root.push_back('/');
    return root;
}

std::string ProjectFolderPath(const std::string& root, const std::string& projectName)
{
    return root + projectName + "/";
}

std::string IndexPath(const std::string& root, const std::string& projectName)
{
    return ProjectFolderPath(root, projectName) + "Index.txt";
}

std::string TimeFilePath(const std::string& root, const std::string& projectName, double t, char separator)
{
    return ProjectFolderPath(root, projectName) + "T" + TimeText(t, separator) + ".txt";
}

void ValidateProjectName(const std::string& projectName)
{
    static const std::string kNoControlCharacters = "The project name must not contain control characters such as line ends.";
    const std::string quoted = "\"" + projectName + "\"";
    if (projectName.empty() || projectName == "." || projectName == "..")
        throw CheckError("The project name " + quoted + " cannot be used as a folder name.");
    for (char c : projectName) {
        if (c == '/')
            throw CheckError("The project name " + quoted + " must not contain \"/\": it names one folder inside the workspace.");
        if (static_cast<unsigned char>(c) < 32 || c == 127) throw CheckError(kNoControlCharacters);
    }
    if (!FitsWindows1252(projectName))
        throw CheckError("The project name " + quoted +
                         " holds characters that the results files cannot record; use letters, digits and common signs.");
    // A name the project file would store as other characters (bytes that are
    // not UTF-8 text, such as a Latin-1 "é") would name a folder it cannot find again.
    if (Windows1252ToUtf8(Utf8ToWindows1252(projectName)) != projectName)
        throw CheckError("The project name holds bytes that are not text in this system's encoding (UTF-8); type it again.");
    // What the bytes Windows-1252 leaves undefined read as, from a project file.
    if (HoldsC1Control(projectName)) throw CheckError(kNoControlCharacters);
}

void DeletaPasta(const std::string& root, const std::string& projectName)
{
    try {
        ValidateProjectName(projectName);
    } catch (const CheckError&) {
        return;
    }
    const std::string folder = ProjectFolderPath(root, projectName);
    // The animation's frames are the program's own too: without them the folder could not go.
    for (const std::string& emptied : {folder + kFrameFolderName + "/", folder}) {
        struct stat info {};
        if (::lstat(emptied.substr(0, emptied.size() - 1).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
        if (DIR* dir = ::opendir(emptied.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                if (entry->d_name[0] == '.') continue;  // hidden files stay, as do "." and ".."
                const std::string path = emptied + entry->d_name;
                struct stat file {};
                if (::lstat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode)) ::unlink(path.c_str());
            }
            ::closedir(dir);
        }
        ::rmdir(emptied.c_str());
    }
}

std::string CreateProjectFolder(const std::string& root, const std::string& projectName)
{
    std::error_code ec;
    std::filesystem::create_directories(root, ec);
    if (ec) throw FileError(ec.value(), root);
    std::string name = projectName;
    for (int i = 2;; ++i) {
        const std::string path = root + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            if (::mkdir(path.c_str(), 0777) == 0) return name;
            if (errno != EEXIST) throw FileError(errno, path);
        }
        name = projectName + "(" + std::to_string(i) + ")";
    }
}

std::string ResolveIndexPath(const std::string& indexPath)
{
    if (indexPath.empty() || FileExists(indexPath)) return indexPath;
    const std::size_t slash = indexPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : indexPath.substr(0, slash);
    const std::string name = indexPath.substr(slash == std::string::npos ? 0 : slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return indexPath;
    std::string found = indexPath;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
            const std::string candidate = (slash == std::string::npos ? "" : folder + "/") + entry->d_name;
            if (FileExists(candidate)) {
                found = candidate;
                break;
            }
        }
    }
    ::closedir(dir);
    return found;
}

std::optional<std::vector<double>> ListedRunTimes(const ModelState& model, const std::string& indexPath)
{
    std::optional<std::vector<double>> times = RunTimes(model.T0, model.T1, model.DT);
    const std::string index = ResolveIndexPath(indexPath);
    if (!times || !FileExists(index)) return times;
    TextFileReader lines(index);
    std::size_t listed = 0;
    while (listed < times->size() && !lines.atEnd()) {
        lines.readLine();
        ++listed;
    }
    times->resize(listed);
    return times;
}

}  // namespace kavrin
