#include "BatchUncertainty.h"

#include "BatchRun.h"
#include "BatchSourceFiles.h"
#include "model/RunChecks.h"
#include "model/RunTimes.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "solution/Quadrature.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "uncertainty/FitDrawSources.h"
#include "uncertainty/UncertaintyChecks.h"
#include "uncertainty/UncertaintyOutputs.h"
#include "uncertainty/UncertaintyParts.h"
#include "uncertainty/UncertaintyRun.h"
#include "uncertainty/VariedParameterText.h"

#include <charconv>
#include <filesystem>

namespace kavrin {

BatchUncertaintyOptions ParseBatchUncertaintyOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("uncertainty", words);
    BatchUncertaintyOptions options;
    options.model = ModelOptionsOf(parsed);
    options.varied = parsed.values("--vary");
    options.fitPath = parsed.value("--from-fit");
    options.standard = parsed.value("--standard").value();
    options.thresholds = parsed.values("--threshold");
    options.realizations = parsed.value("--realizations").value();
    options.seed = parsed.value("--seed").value();
    options.latinHypercube = parsed.given("--lhs");
    options.times = parsed.values("--time");
    options.receptorsPath = parsed.value("--receptors");
    options.part = parsed.value("--part");
    options.to = parsed.value("--to").value();
    return options;
}

BatchMergeOptions ParseBatchMergeOptions(const std::vector<std::string>& words)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine("merge", words);
    return {parsed.operands(), parsed.value("--to").value()};
}

namespace {

// A whole number of the option, all of its text.
std::uint64_t wholeNumber(const std::string& text, const char* option)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw CheckError(std::string(option) + " takes a whole number, not \"" + Excerpt(text) + "\".");
    return value;
}

TypedNumber typedNumber(const std::string& text, char separator)
{
    return {ParseFloat(text, separator), text};
}

RealizationPart partOf(const std::string& text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) throw CheckError("--part takes I/M, not \"" + Excerpt(text) + "\".");
    const std::uint64_t index = wholeNumber(text.substr(0, slash), "--part");
    const std::uint64_t count = wholeNumber(text.substr(slash + 1), "--part");
    const auto bounded = [](std::uint64_t v) { return static_cast<int>(std::min<std::uint64_t>(v, 1u << 30)); };
    return {bounded(index), bounded(count)};
}

// The folder the results go to, made when missing; a file there is refused.
void makeFolder(const std::string& folder)
{
    std::error_code error;
    if (std::filesystem::exists(folder, error) && !std::filesystem::is_directory(folder, error))
        throw CheckError("--to " + folder + " is a file, not a folder.");
    std::filesystem::create_directories(folder, error);
    if (error) throw FileError(error.value(), folder);
}

}  // namespace

void PerformBatchUncertainty(const BatchUncertaintyOptions& options, const BatchEnvironment& environment, std::ostream& out)
{
    const char separator = environment.separator;
    const BatchBalanceOptions& source = options.model;
    const ParameterTexts texts =
        BatchParameterTexts(source.paramsPath, source.projectPath, source.sets, separator, source.stepsPath, source.zonesPath);
    RefuseImpossibleTexts(texts, separator);
    ModelState model;
    Variaveis(texts, model, separator);
    if (const auto refusal = CheckGrid(model)) throw CheckError(EnglishRefusalText(*refusal));

    UncertaintySettings settings;
    for (const std::string& text : options.varied) settings.varied.push_back(ParseVariedParameter(text, separator));
    if (options.fitPath) settings.fromFit = ReadFitReport(*options.fitPath, separator);
    settings.thresholds.push_back(typedNumber(options.standard, separator));
    for (const std::string& text : options.thresholds) settings.thresholds.push_back(typedNumber(text, separator));
    settings.realizations = wholeNumber(options.realizations, "--realizations");
    settings.seed = wholeNumber(options.seed, "--seed");
    settings.latinHypercube = options.latinHypercube;
    if (options.times.empty()) {
        if (const auto refusal = CheckTimeSeries(model)) throw CheckError(EnglishRefusalText(*refusal));
        const std::vector<double> times = RunTimes(model.T0, model.T1, model.DT).value_or(std::vector<double>{});
        // At 0 the field is the initial one, the same in every realization.
        for (double t : times)
            if (t > 0) settings.times.push_back({t, TimeText(t, separator)});
    }
    for (const std::string& text : options.times) settings.times.push_back(typedNumber(text, separator));
    if (options.receptorsPath)
        for (const std::vector<double>& row : ReadNumberRows(*options.receptorsPath, 3, "(x, y, z)"))
            settings.receptors.push_back({row[0], row[1], row[2]});
    if (options.part) settings.part = partOf(*options.part);
    if (const auto refusal = CheckUncertaintySettings(settings, model)) throw UncertaintyError(*refusal);
    // Names every output before anything is computed: a time or threshold text that cannot name a file is refused now.
    UncertaintyOutputNames(options.to, settings.thresholds, settings.times);

    QuadratureState quadrature;
    LoadGaussOrder(quadrature, model.GaussOrder, environment.valoresPath, separator);
    makeFolder(options.to);
    std::ostream* progressOut = environment.progress;
    const UncertaintyProgress progress = [progressOut](std::uint64_t done, std::uint64_t total) {
        if (progressOut && (done == total || done % 16 == 0))
            *progressOut << '\r' << done << " of " << total << " realizations and times" << std::flush;
    };
    const unsigned workers = WorkerCount();
    if (options.part) {
        PartWriter part(options.to + "/" + kPartFileName, settings, model);
        const auto results = RunRealizations(model, quadrature, settings, workers, progress, nullptr,
                                             [&](std::size_t, const NodeTally& tally) { part.addTally(tally); });
        part.finish(*results);
        if (progressOut) *progressOut << '\n';
        out << "part " << settings.part.index << "/" << settings.part.count << ": realizations "
            << settings.part.first(settings.realizations) + 1 << " to " << settings.part.end(settings.realizations) << " of "
            << settings.realizations << " in " << options.to << "/" << kPartFileName << '\n';
        return;
    }
    const auto results = RunUncertainty(model, quadrature, settings, workers, progress, nullptr);
    if (progressOut) *progressOut << '\n';
    const OutputFrame frame = OutputFrameOf(model);
    WriteUncertaintyOutputs(options.to, frame, settings.thresholds, settings.times, settings.receptors, *results);
    out << UncertaintySummary(frame, settings.thresholds, settings.times, *results);
}

void PerformBatchMerge(const BatchMergeOptions& options, std::ostream& out)
{
    const MergedParts merged = MergeParts(options.parts);
    UncertaintyOutputNames(options.to, merged.thresholds, merged.times);
    makeFolder(options.to);
    WriteUncertaintyOutputs(options.to, merged.frame, merged.thresholds, merged.times, merged.receptors, merged.results);
    out << UncertaintySummary(merged.frame, merged.thresholds, merged.times, merged.results);
}

}  // namespace kavrin
