#include "workspace/RunFileChecks.h"

#include "model/RunTimes.h"
#include "text/NumberText.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/statvfs.h>

namespace kavrin {

namespace {

// "4.7 TB (4 692 061 442 048 bytes)": decimal units, as the disk tools show them.
std::string sizeText(std::uint64_t bytes, char separator)
{
    static const char* const units[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (value >= 1000 && unit < 6) {
        value /= 1000;
        ++unit;
    }
    const std::string exact = std::to_string(bytes) + " bytes";
    if (unit == 0) return exact;
    return FormatFixed(value, 1, separator) + " " + units[unit] + " (" + exact + ")";
}

std::string parentOf(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::uint64_t RunFileBytes(const ModelState& model, const std::vector<double>& times, const std::string& folder, char separator)
{
    const std::uint64_t columns = model.NX >= 0 ? static_cast<std::uint64_t>(model.NX) + 1 : 0;
    const std::uint64_t rows = model.NY >= 0 ? static_cast<std::uint64_t>(model.NY) + 1 : 0;
    const std::uint64_t valueBytes = FormatGridValue(0, separator).size() + 1;  // every value has one width
    const std::uint64_t timeFile = rows * (columns * valueBytes + 2);
    std::uint64_t bytes = 0;
    for (double t : times) bytes += timeFile + folder.size() + TimeText(t, separator).size() + std::string("T.txt\r\n").size();
    return bytes;
}

std::uint64_t FreeBytes(const std::string& folder)
{
    std::string path = folder.empty() ? "." : folder;
    struct statvfs space {};
    while (::statvfs(path.c_str(), &space) != 0) {
        if (errno != ENOENT || path == "/" || path == ".") throw FileError(errno, path);
        path = parentOf(path);
    }
    return static_cast<std::uint64_t>(space.f_bavail) * static_cast<std::uint64_t>(space.f_frsize);
}

void CheckOneNamePerTime(const std::vector<double>& times, char separator)
{
    const auto shared = TimesSharingAName(times, separator);
    if (!shared) return;
    // Seventeen digits tell the two doubles apart where the file name cannot.
    auto exact = [separator](double t) {
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", t);
        std::string written(text);
        std::replace(written.begin(), written.end(), '.', separator);
        return written;
    };
    const std::string name = 'T' + TimeText(shared->first, separator) + ".txt";
    const std::string first = exact(shared->first), second = exact(shared->second);
    throw RunFilesRefusal("The times " + first + " and " + second + " would both be written to the file " + name +
                              ": a file name holds 15 significant digits. Enlarge DT or choose times nearer zero.",
                          "Os tempos " + first + " e " + second + " seriam gravados no mesmo arquivo " + name +
                              ": o nome de um arquivo tem 15 algarismos significativos. Aumente DT ou escolha tempos "
                              "mais próximos de zero.");
}

void CheckRunFiles(const ModelState& model, const std::string& root, const std::string& projectName, char separator)
{
    const std::vector<double> times = RunTimes(model.T0, model.T1, model.DT).value_or(std::vector<double>{});
    CheckOneNamePerTime(times, separator);
    const std::uint64_t needed = RunFileBytes(model, times, ProjectFolderPath(root, projectName), separator);
    const std::uint64_t free = FreeBytes(root);
    if (needed <= free) return;
    const std::string count = std::to_string(times.size());
    const bool one = times.size() == 1;
    throw RunFilesRefusal(
        "The run's " + count + (one ? " time file needs " : " time files need ") + sizeText(needed, '.') + ", but only " +
            sizeText(free, '.') + " are free in " + root + ". Choose fewer times or a coarser grid, or free some space.",
        (one ? "O arquivo de tempo da simulação precisa de " : "Os " + count + " arquivos de tempo da simulação precisam de ") +
            sizeText(needed, ',') + ", mas só há " + sizeText(free, ',') + " livres em " + root +
            ". Escolha menos tempos ou uma malha menos fina, ou libere espaço.");
}

}  // namespace kavrin
