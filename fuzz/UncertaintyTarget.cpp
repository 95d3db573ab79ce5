// What the uncertainty maps read from outside, by the first byte: a part file
// (merged alone and with itself), the report of a fit, or a varied
// parameter's text. A merge that is taken gives maps of the part's grid with
// probabilities in [0, 1]; a text that is taken reads back the same.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "text/Errors.h"
#include "uncertainty/FitDrawSources.h"
#include "uncertainty/UncertaintyParts.h"
#include "uncertainty/VariedParameterText.h"

#include <filesystem>

namespace kavrin::fuzz {

namespace {

void partFile(const std::string& bytes)
{
    const std::string folder = scratchFolder() + "part";
    std::filesystem::create_directories(folder);
    std::string name = "part/";
    name += kPartFileName;
    scratchFile(name, bytes);
    try {
        MergeParts({folder, folder});
        require(false, "a part given twice is merged");
    } catch (const KavrinError&) {
    }
    try {
        const MergedParts merged = MergeParts({folder});
        const std::size_t nodes =
            static_cast<std::size_t>(merged.results.rows) * static_cast<std::size_t>(merged.results.columns);
        require(merged.results.times.size() == merged.times.size(), "a time without its maps");
        for (const UncertaintyMaps& maps : merged.results.times) {
            require(maps.mean.size() == nodes && maps.p95.size() == nodes, "maps of another grid");
            require(maps.exceedance.size() == merged.thresholds.size(), "a threshold without its map");
        }
    } catch (const KavrinError&) {
    }
}

void fitReport(const std::string& bytes, char separator)
{
    try {
        const FitDraw draw = ReadFitReport(scratchFile("fit.txt", bytes), separator);
        const std::size_t n = draw.names.size();
        require(n > 0 && draw.centre.size() == n && draw.logarithmic.size() == n && draw.covariance.size() == n,
                "a fit's draw of another shape");
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = 0; b < n; ++b)
                require(draw.covariance[a][b] == draw.covariance[b][a] || draw.covariance[a][b] != draw.covariance[a][b],
                        "a covariance that is not symmetric");
    } catch (const KavrinError&) {
    }
}

void variedText(const std::string& text, char separator)
{
    try {
        const VariedParameter varied = ParseVariedParameter(text, separator);
        require(ParseVariedParameter(VariedParameterText(varied), '.') == varied, "a varied parameter reads back otherwise");
    } catch (const KavrinError&) {
    }
}

}  // namespace

void Uncertainty(const std::string& input)
{
    if (input.empty()) return;
    const char separator = (input[0] & 4) != 0 ? ',' : '.';
    const std::string rest = input.substr(1);
    switch (input[0] & 3) {
    case 0:
    case 1:
        partFile(rest);
        break;
    case 2:
        fitReport(rest, separator);
        break;
    default:
        variedText(rest, separator);
        break;
    }
}

}  // namespace kavrin::fuzz
