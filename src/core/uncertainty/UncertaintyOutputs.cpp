#include "uncertainty/UncertaintyOutputs.h"

#include "files/ResultExports.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "uncertainty/ReceptorStatistics.h"

#include <algorithm>

namespace kavrin {

namespace {

std::string number(double value)
{
    return FormatGeneral(value, '.');
}

// A time as typed, in the CSV files' points as decimal separators: a typed
// "100,5" would split its line's columns.
std::string csvTime(const TypedNumber& time)
{
    return ArrumaDecimal(time.text, '.');
}

// A typed text names files: it must not leave the folder or name nothing.
const std::string& fileNamePart(const TypedNumber& typed)
{
    if (typed.text.empty() || typed.text.find_first_of("/\\") != std::string::npos || typed.text == "." || typed.text == "..")
        throw CheckError("\"" + typed.text + "\" cannot be part of a file name.");
    return typed.text;
}

std::string inFolder(const std::string& folder, const std::string& name)
{
    return folder + (folder.empty() || folder.back() == '/' ? "" : "/") + name;
}

struct NamedMap {
    std::string name;
    const std::vector<double>* values;
    bool probability;
};

// The grids of one time in the order they are written.
std::vector<NamedMap> timeGrids(const std::vector<TypedNumber>& thresholds, const TypedNumber& time, const UncertaintyMaps* maps)
{
    const std::string at = "_T" + fileNamePart(time) + ".grd";
    std::vector<NamedMap> grids;
    for (std::size_t t = 0; t < thresholds.size(); ++t)
        grids.push_back({"exceed_" + fileNamePart(thresholds[t]) + at, maps ? &maps->exceedance[t] : nullptr, true});
    const std::pair<const char*, const std::vector<double> UncertaintyMaps::*> named[] = {
        {"mean", &UncertaintyMaps::mean}, {"sd", &UncertaintyMaps::sd},   {"p05", &UncertaintyMaps::p05},
        {"p50", &UncertaintyMaps::p50},   {"p95", &UncertaintyMaps::p95},
    };
    for (const auto& [name, member] : named) grids.push_back({name + at, maps ? &(maps->*member) : nullptr, false});
    return grids;
}

}  // namespace

std::vector<std::string> UncertaintyOutputNames(const std::string& folder, const std::vector<TypedNumber>& thresholds,
                                                const std::vector<TypedNumber>& times)
{
    std::vector<std::string> names;
    for (const TypedNumber& time : times)
        for (const NamedMap& grid : timeGrids(thresholds, time, nullptr)) names.push_back(inFolder(folder, grid.name));
    names.push_back(inFolder(folder, "receptors.csv"));
    names.push_back(inFolder(folder, "plume_length.csv"));
    return names;
}

std::string ReceptorsCsv(const std::vector<TypedNumber>& times, const std::vector<Receptor>& receptors, double standard,
                         const UncertaintyResults& results)
{
    std::string csv =
        "receptor,x,y,z,time,mean,p05,p50,p95,p_exceeds,p_exceeded_by_then,p_first_exceeded_then,p_never_exceeded\n";
    for (std::size_t r = 0; r < receptors.size(); ++r) {
        const std::vector<ReceptorTimeSummary> summaries = SummariseReceptor(results.receptorValues[r], standard);
        const double never = summaries.empty() ? 1 : 1 - summaries.back().exceededByNow;
        for (std::size_t t = 0; t < summaries.size(); ++t) {
            const ReceptorTimeSummary& s = summaries[t];
            csv += std::to_string(r + 1) + "," + number(receptors[r].x) + "," + number(receptors[r].y) + "," +
                   number(receptors[r].z) + "," + csvTime(times[t]) + "," + number(s.mean) + "," + number(s.p05) + "," +
                   number(s.p50) + "," + number(s.p95) + "," + number(s.exceeded) + "," + number(s.exceededByNow) + "," +
                   number(s.firstExceeded) + "," + number(never) + "\n";
        }
    }
    return csv;
}

namespace {

std::string plumeLengthCsv(const std::vector<TypedNumber>& times, const UncertaintyResults& results)
{
    std::string csv = "time,mean,p05,p50,p95,largest\n";
    for (std::size_t t = 0; t < times.size(); ++t) {
        const std::vector<double>& lengths = results.plumeLength[t];
        long double sum = 0;
        for (double length : lengths) sum += length;
        const double mean = lengths.empty() ? 0 : static_cast<double>(sum / static_cast<long double>(lengths.size()));
        const double largest = lengths.empty() ? 0 : *std::max_element(lengths.begin(), lengths.end());
        csv += csvTime(times[t]) + "," + number(mean) + "," + number(ExactPercentile(lengths, 0.05)) + "," +
               number(ExactPercentile(lengths, 0.5)) + "," + number(ExactPercentile(lengths, 0.95)) + "," + number(largest) +
               "\n";
    }
    return csv;
}

void writeText(const std::string& path, const std::string& text)
{
    TextFileWriter file(path);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        file.writeLine(text.substr(start, end - start));
    file.close();
}

}  // namespace

void WriteUncertaintyOutputs(const std::string& folder, const OutputFrame& frame, const std::vector<TypedNumber>& thresholds,
                             const std::vector<TypedNumber>& times, const std::vector<Receptor>& receptors,
                             const UncertaintyResults& results)
{
    // Probabilities range over 0 … 1; concentrations from 0 to the grid's largest value.
    SurferGridFrame grid{frame.X0, frame.X1, frame.Y0, frame.Y1, frame.rows, frame.columns, 0, 1};
    for (std::size_t t = 0; t < times.size(); ++t)
        for (const NamedMap& map : timeGrids(thresholds, times[t], &results.times[t])) {
            const std::vector<double>& values = *map.values;
            grid.zHigh = map.probability || values.empty() ? 1 : std::max(0.0, *std::max_element(values.begin(), values.end()));
            WriteSurferGrid(inFolder(folder, map.name), grid, values);
        }
    const double standard = thresholds.empty() ? 0 : thresholds.front().value;
    writeText(inFolder(folder, "receptors.csv"), ReceptorsCsv(times, receptors, standard, results));
    writeText(inFolder(folder, "plume_length.csv"), plumeLengthCsv(times, results));
}

std::string UncertaintySummary(const OutputFrame& frame, const std::vector<TypedNumber>& thresholds,
                               const std::vector<TypedNumber>& times, const UncertaintyResults& results)
{
    std::string text = std::to_string(results.realizations) + " realizations on " + std::to_string(frame.rows) + " x " +
                       std::to_string(frame.columns) + " nodes; standard " + thresholds.front().text + " mg/L\n";
    const double cell = frame.DX * frame.DY;
    for (std::size_t t = 0; t < times.size(); ++t) {
        const std::vector<double>& p = results.times[t].exceedance.front();
        const double highest = p.empty() ? 0 : *std::max_element(p.begin(), p.end());
        const auto likely = std::count_if(p.begin(), p.end(), [](double v) { return v >= 0.5; });
        const std::vector<double>& lengths = results.plumeLength[t];
        text += "T " + times[t].text + ": largest probability above the standard " + number(highest) + ", " +
                std::to_string(likely) + " nodes (" + number(static_cast<double>(likely) * cell) +
                " m2) at 50 % or more; plume length to the standard p05 " + number(ExactPercentile(lengths, 0.05)) + " m, p50 " +
                number(ExactPercentile(lengths, 0.5)) + " m, p95 " + number(ExactPercentile(lengths, 0.95)) + " m\n";
    }
    return text;
}

}  // namespace kavrin
