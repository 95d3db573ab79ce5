#include "files/ResultExports.h"

#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "model/Variaveis.h"
#include "workspace/RunFileChecks.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <vector>

namespace kavrin {

namespace {

using Converter = std::function<void(TextFileReader& results, TextFileWriter& output, const ModelState& model)>;

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
        throw CheckError(std::string("The ") + range + " range and " + stepName + " of the data window do not describe a grid of results: "
                         + stepName + " must be greater than zero and the range at most 450 intervals of " + stepName + ".");
}

void checkGrid(const ModelState& m)
{
    checkAxis(m.X0, m.X1, m.DX, "X", "DX");
    checkAxis(m.Y0, m.Y1, m.DY, "Y", "DY");
}

void writeGrid(TextFileReader& results, TextFileWriter& output, const ModelState& m)
{
    const auto points = [](double from, double to, double step) {
        return std::to_string(static_cast<int>(CellCount(from, to, step)) + 1);
    };
    output.writeLine("DSAA");
    output.writeLine(points(m.X0, m.X1, m.DX) + " " + points(m.Y0, m.Y1, m.DY));
    output.writeLine(pointNumber(m.X0) + " " + pointNumber(m.X1));
    output.writeLine(pointNumber(m.Y0) + " " + pointNumber(m.Y1));
    output.writeLine("0 " + pointNumber(m.C0));
    while (!results.atEnd()) output.writeLine(PontoDecimal(results.readLine()));
}

void writeTable(TextFileReader& results, TextFileWriter& output, const ModelState& m)
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

// The results file is opened before the output is created, so a missing one
// writes nothing.
void convert(const std::string& resultsPath, const std::string& outputPath, const ModelState& model, const Converter& write)
{
    TextFileReader results(resultsPath);
    TextFileWriter output(outputPath);
    write(results, output, model);
    output.close();
}

void exportResults(const std::string& save, const std::string& open, int only, const ModelState& model, char separator,
                   const char* extension, const Converter& write)
{
    // An empty name would write hidden files named only by their extension.
    if (save.empty()) throw FileError(ENOENT, save);
    checkGrid(model);
    if (only != 1) {
        convert(open, save + extension, model, write);
        return;
    }
    TextFileReader index(ResolveIndexPath(open));
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
        convert(resultsPaths[k], save + "T" + TimeText(times[k], separator) + extension, model, write);
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
    exportResults(save, open, only, model, separator, ".grd", writeGrid);
}

void TxtTabcreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator)
{
    exportResults(save, open, only, model, separator, ".txt", writeTable);
}

}  // namespace kavrin
