#include "BatchMetrics.h"

#include "BatchProject.h"
#include "model/RunTimes.h"
#include "plume/PlumeMetrics.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <cmath>
#include <sstream>

namespace kavrin {

BatchMetricsOptions ParseBatchMetricsOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("metrics", words);
    return {parsed.value("--project").value(), parsed.value("--time"), parsed.value("--standard").value(),
            parsed.value("--beyond")};
}

namespace {

// The number of an option, with either decimal separator.
double OptionNumber(const std::string& option, const std::string& text, const char* what, char separator)
{
    double value = 0;
    try {
        value = ParseFloat(ArrumaDecimal(text, separator), separator);
    } catch (const KavrinError&) {
        value = NAN;
    }
    if (!std::isfinite(value)) throw CheckError(option + " takes " + what + ", not \"" + Excerpt(text) + "\".");
    return value;
}

// The measures that are lower bounds: "length, width and area are lower bounds".
std::string LowerBounds(const PlumeMetrics& m)
{
    std::vector<std::string> names;
    if (m.lengthAtEdge) names.push_back("length");
    if (m.widthAtEdge) names.push_back("width");
    if (m.areaAtEdge) names.push_back("area");
    if (m.maxBeyondAtEdge) names.push_back("max_beyond");
    std::string text;
    for (std::size_t n = 0; n < names.size(); ++n) text += (n == 0 ? "" : n + 1 == names.size() ? " and " : ", ") + names[n];
    return text + (names.size() == 1 ? " is a lower bound" : " are lower bounds");
}

}  // namespace

void PerformBatchMetrics(const BatchMetricsOptions& options, const BatchEnvironment& environment, std::ostream& out,
                         std::ostream& notes)
{
    const char s = environment.separator;
    const double standard = OptionNumber("--standard", options.standard, "a concentration (mg/L)", s);
    if (!(standard > 0))
        throw CheckError("--standard takes a concentration above 0 mg/L, not \"" + Excerpt(options.standard) + "\".");
    std::optional<double> beyond;
    if (options.beyond) beyond = OptionNumber("--beyond", *options.beyond, "a distance (m)", s);

    const ProjectFileContents project = ReadProjectFile(options.projectPath);
    const ModelState model = ProjectModel(project, s);
    const std::string index = ProjectIndex(project, environment);
    if (beyond) {
        const PlumeField empty = PlumeFieldOf(ResultGrid(), model);
        if (empty.x.empty() || *beyond > empty.x.back())
            throw CheckError("--beyond " + *options.beyond + " lies beyond the grid's last column (x = " +
                             (empty.x.empty() ? FormatGeneral(model.X0, '.') : FormatGeneral(empty.x.back(), '.')) + ").");
    }
    const std::optional<std::vector<double>> listed = ListedRunTimes(model, index);
    if (!listed) throw CheckError("The project's times T0, T0 + DT, … never reach T1; nothing was measured.");
    std::vector<double> times;
    for (double t : *listed)
        if (!options.time || TimeText(t, s) == *options.time) times.push_back(t);
    if (options.time && times.empty())
        throw CheckError("The time " + *options.time + " is not one of the times the project's index lists.");

    std::ostringstream csv, lowerBounds;
    csv << "time,length,width,area,max_beyond\n";
    ResultGrid grid;
    for (double t : times) {
        const std::string tempo = TimeText(t, s);
        const std::string path = ResultFilePath(environment.root, project.projectName, tempo);
        // Read once, whole: a cut file or one of another grid throws naming its line.
        if (!LoadResultFile(path, grid, model, s))
            throw CheckError("The results file " + path + " of the time " + tempo + " does not exist.");
        const PlumeMetrics m = MeasurePlume(grid, model, standard, beyond);
        csv << FormatGeneral(t, '.') << "," << FormatGeneral(m.length, '.') << "," << FormatGeneral(m.width, '.') << ","
            << FormatGeneral(m.area, '.') << "," << (m.maxBeyond ? FormatGeneral(*m.maxBeyond, '.') : "") << "\n";
        if (m.anyAtEdge())
            lowerBounds << "kavrin-batch: at time " << FormatGeneral(t, '.')
                        << " the plume reaches the grid's edge: " << LowerBounds(m) << "\n";
    }
    out << csv.str();
    notes << lowerBounds.str();
}

}  // namespace kavrin
