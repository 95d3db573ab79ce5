#include "files/ResultExports.h"

#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "workspace/ResultShape.h"
#include "workspace/RunFileChecks.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace kavrin {

namespace {

// The rows of a results file, each checked against the project's grid as it
// is read: a file cut, empty or of another grid is refused before its export
// replaces anything.
class CheckedRows {
public:
    CheckedRows(const std::string& path, const ResultShape& shape) : file_(path), shape_(shape) {}
    bool atEnd() const { return file_.atEnd(); }
    std::string readLine()
    {
        std::string line = file_.readLine();
        CheckResultRow(file_.path(), file_.linesRead(), line, shape_);
        return line;
    }
    void finish() const { CheckResultRowCount(file_.path(), file_.linesRead(), shape_); }

private:
    TextFileReader file_;
    const ResultShape& shape_;
};

using Converter = std::function<void(CheckedRows& results, TextFileWriter& output, const ModelState& model)>;

std::string pointNumber(double value)
{
    return PontoDecimal(FormatGeneral(value, '.'));
}

// A results file holds at most this many cells along a row or a column.
constexpr double kMaximumCells = 450;

// The grid of the data window, refused before anything is written when a step
// is not a positive number or the range holds more cells than any run writes.
void checkAxis(double from, double to, double step, const char* range, const char* stepName)
{
    if (!SeriesIsBounded(from, to, step, kMaximumCells) || !(std::fabs(CellCount(from, to, step)) <= kMaximumCells))
        throw CheckError(std::string("The ") + range + " range and " + stepName +
                         " of the data window do not describe a grid of results: " + stepName +
                         " must be greater than zero and the range at most 450 intervals of " + stepName + ".");
}

void checkGrid(const ModelState& m)
{
    checkAxis(m.X0, m.X1, m.DX, "X", "DX");
    checkAxis(m.Y0, m.Y1, m.DY, "Y", "DY");
}

void writeSurferHeader(TextFileWriter& output, const std::string& columns, const std::string& rows, double X0, double X1,
                       double Y0, double Y1, const std::string& zRange)
{
    output.writeLine("DSAA");
    output.writeLine(columns + " " + rows);
    output.writeLine(pointNumber(X0) + " " + pointNumber(X1));
    output.writeLine(pointNumber(Y0) + " " + pointNumber(Y1));
    output.writeLine(zRange);
}

void writeGrid(CheckedRows& results, TextFileWriter& output, const ModelState& m)
{
    const auto points = [](double from, double to, double step) {
        return std::to_string(static_cast<int>(CellCount(from, to, step)) + 1);
    };
    // The z range reaches the highest zone's concentration: with one zone, C0.
    writeSurferHeader(output, points(m.X0, m.X1, m.DX), points(m.Y0, m.Y1, m.DY), m.X0, m.X1, m.Y0, m.Y1,
                      "0 " + pointNumber(HighestSourceConcentration(m)));
    while (!results.atEnd()) output.writeLine(PontoDecimal(results.readLine()));
}

}  // namespace

void WriteSurferGrid(const std::string& path, const SurferGridFrame& frame, const std::vector<double>& values)
{
    TextFileWriter output(path);
    writeSurferHeader(output, std::to_string(frame.columns), std::to_string(frame.rows), frame.X0, frame.X1, frame.Y0, frame.Y1,
                      pointNumber(frame.zLow) + " " + pointNumber(frame.zHigh));
    std::string row;
    char text[kGridValueMaxLength];
    for (int k = 0; k < frame.rows; ++k) {
        row.clear();
        for (int j = 0; j < frame.columns; ++j) {
            row.append(
                text,
                WriteGridValue(
                    text,
                    values[static_cast<std::size_t>(k) * static_cast<std::size_t>(frame.columns) + static_cast<std::size_t>(j)],
                    '.'));
            row += ' ';
        }
        output.writeLine(row);
    }
    output.close();
}

namespace {

void writeTable(CheckedRows& results, TextFileWriter& output, const ModelState& m)
{
    double y = m.Y0;
    while (!results.atEnd()) {
        std::string rest = results.readLine();
        for (double x = m.X0; x <= m.X1; x = x + m.DX) {
            const std::size_t blank = rest.find(' ');
            const std::string value = blank == std::string::npos ? std::string() : rest.substr(0, blank);
            if (blank != std::string::npos) rest.erase(0, blank + 1);
            output.writeLine(pointNumber(x) + " " + pointNumber(y) + " " + PontoDecimal(value));
        }
        y = y + m.DY;
    }
}

// A file as the system knows it, whatever path names it (links included).
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{info.st_dev, info.st_ino};
}

std::string folderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// What an export reads and where it must not write: the files it reads, and
// the results folders of the indexes it reads (a run's folder holds nothing
// but its own times).
class ProtectedFiles {
public:
    void addRead(const std::string& path)
    {
        if (const auto identity = identityOf(path)) files_.emplace_back(*identity, path);
    }
    void addResultsFolder(const std::string& path)
    {
        if (const auto identity = identityOf(path)) folders_.emplace_back(*identity, path);
    }
    // The files an index lists are results that no export may replace.
    void addIndexedFiles(const std::string& indexPath, bool foldersToo)
    {
        addRead(indexPath);
        if (foldersToo) addResultsFolder(folderOf(indexPath));
        TextFileReader index(indexPath);
        while (!index.atEnd()) {
            const std::string listed = index.readLine();
            addRead(listed);
            if (foldersToo) addResultsFolder(folderOf(listed));
        }
    }
    void refuseOverwriting(const std::string& output) const
    {
        if (const auto folder = identityOf(folderOf(output)))
            for (const auto& [results, path] : folders_)
                if (results == *folder)
                    throw CheckError("The export would write " + output + " into the results folder " + path +
                                     " of the project; choose another folder. Nothing was written.");
        if (const auto identity = identityOf(output))
            for (const auto& [read, path] : files_)
                if (read == *identity)
                    throw CheckError("The export would write " + output + " over " + path +
                                     ", which it reads; choose another name or folder. Nothing was written.");
    }

private:
    std::vector<std::pair<FileIdentity, std::string>> files_;
    std::vector<std::pair<FileIdentity, std::string>> folders_;
};

// One results file and the file its export writes.
struct Conversion {
    std::string resultsPath;
    std::string outputPath;
};

// The results file is opened before the output is created, so a missing one
// writes nothing; a results file that is not one whole time of the grid
// leaves no output either.
void convert(const Conversion& conversion, const ModelState& model, const ResultShape& shape, const Converter& write)
{
    CheckedRows results(conversion.resultsPath, shape);
    TextFileWriter output(conversion.outputPath);
    write(results, output, model);
    results.finish();
    output.close();
}

// The index beside a chosen results file, when there is one: what it lists is
// a run's results, which the export must not replace either.
void protectIndexBeside(const std::string& resultsPath, ProtectedFiles& protectedFiles)
{
    const std::string index = ResolveIndexPath(folderOf(resultsPath) + "/Index.txt");
    if (!FileExists(index)) return;
    try {
        protectedFiles.addIndexedFiles(index, false);
    } catch (const KavrinError&) {
        // Not a file of the program: it lists nothing to protect.
    }
}

void exportResults(const std::string& save, const std::string& open, int only, const ModelState& model, char separator,
                   const char* extension, const Converter& write, const std::vector<std::string>& alsoRead)
{
    // An empty name would write hidden files named only by their extension.
    if (save.empty()) throw FileError(ENOENT, save);
    checkGrid(model);
    ProtectedFiles protectedFiles;
    for (const std::string& path : alsoRead) protectedFiles.addRead(path);
    std::vector<Conversion> conversions;
    if (only != 1) {
        conversions.push_back({open, save + extension});
        protectedFiles.addRead(open);
        protectIndexBeside(open, protectedFiles);
    } else {
        const std::string indexPath = ResolveIndexPath(open);
        protectedFiles.addIndexedFiles(indexPath, true);
        TextFileReader index(indexPath);
        std::vector<std::string> resultsPaths;
        std::vector<double> times;
        TimeSequence sequence(model.T0, model.DT);
        while (!index.atEnd()) {
            resultsPaths.push_back(index.readLine());
            times.push_back(sequence.next());
        }
        // Two times of one name would leave only the last of them.
        CheckOneNamePerTime(times, separator);
        for (std::size_t k = 0; k < times.size(); ++k)
            conversions.push_back({resultsPaths[k], save + "T" + TimeText(times[k], separator) + extension});
    }
    for (const Conversion& conversion : conversions) protectedFiles.refuseOverwriting(conversion.outputPath);
    const ResultShape shape = ResultShapeOf(model, separator);
    for (const Conversion& conversion : conversions) convert(conversion, model, shape, write);
}

}  // namespace

std::string PontoDecimal(const std::string& text)
{
    std::string result = text;
    std::replace(result.begin(), result.end(), ',', '.');
    return result;
}

void GrdAsccreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator)
{
    ExportResults(ExportFormat::Grid, save, open, only, model, separator, {});
}

void TxtTabcreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator)
{
    ExportResults(ExportFormat::Table, save, open, only, model, separator, {});
}

void ExportResults(ExportFormat format, const std::string& save, const std::string& open, int only, const ModelState& model,
                   char separator, const std::vector<std::string>& alsoRead)
{
    if (format == ExportFormat::Grid)
        exportResults(save, open, only, model, separator, ".grd", writeGrid, alsoRead);
    else
        exportResults(save, open, only, model, separator, ".txt", writeTable, alsoRead);
}

}  // namespace kavrin
