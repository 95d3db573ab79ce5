// Measures the calibration: "Calcular" on 1000 observations at order 256 and
// a fit of 5 parameters to 100 observations at order 256, each beside its
// floor and its target; the same fit as a whole kavrin-batch-fit process
// beside bench/scipy-fit.py, the script a user would otherwise write; and
// checks the fit's standard errors against the scatter of the estimates over
// 200 noisy data sets. `make bench` runs it.
#include "BenchProcess.h"
#include "BenchTiming.h"
#include "calibration/Comparison.h"
#include "calibration/FitSetup.h"
#include "fit/ParameterFit.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/NumberText.h"
#include "workspace/ExecutableFolder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace kavrin;

namespace {

using bench::seconds;

// Observations spread through the plume of the initial model, over depths and times.
std::vector<ObservationTexts> observationTable(int count)
{
    std::vector<ObservationTexts> table;
    for (int i = 0; i < count; ++i) {
        const double x = 1 + (i * 37) % 99, y = -15 + (i * 7) % 31, z = -1.4 + (i % 8) * 0.4, t = 100 + (i * 211) % 2400;
        table.push_back({FormatGeneral(0.3 + 0.001 * (i % 97), '.'), FormatGeneral(x, '.'), FormatGeneral(y, '.'),
                         FormatGeneral(z, '.'), FormatGeneral(t, '.')});
    }
    return table;
}

ModelState withValues(ModelState model, const std::vector<std::pair<FitParameter, double>>& values)
{
    for (const auto& [parameter, value] : values) InfoOf(parameter).set(model, value);
    DeriveModelFields(model);
    return model;
}

FitSettings settingsFor(const std::vector<std::pair<FitParameter, double>>& values, const ModelState& start, unsigned workers)
{
    FitSettings settings;
    for (const auto& entry : values) {
        settings.parameters.push_back(entry.first);
        settings.bounds.push_back(DefaultBounds(entry.first, InfoOf(entry.first).get(start)));
    }
    settings.workers = workers;
    return settings;
}

// Wells in the plume of the initial model: x 2–50 m, y ±8 m, z ±1 m, t 1200–2500 days.
std::vector<Observation> wells(int count)
{
    std::vector<Observation> result;
    for (int i = 0; i < count; ++i)
        result.push_back({0, 2.0 + (i * 17) % 49, -8.0 + (i * 7) % 17, -1.0 + 0.5 * (i % 5), 1200.0 + (i * 131) % 1301});
    return result;
}

// A fixed sequence of normal deviates (linear congruential, Box–Muller).
class Noise {
public:
    double next(double sigma)
    {
        const double u = uniform(), v = uniform();
        return sigma * std::sqrt(-2 * std::log(u)) * std::cos(2 * 3.14159265358979323846 * v);
    }

private:
    double uniform()
    {
        seed_ = seed_ * 6364136223846793005ull + 1442695040888963407ull;
        return (static_cast<double>(seed_ >> 11) + 0.5) / 9007199254740992.0;
    }
    std::uint64_t seed_ = 12345;
};

// The fitted values a fit's output lists first for each of `names`:
// kavrin-batch-fit's table (name, start, value, …) or the script's NAME=VALUE lines.
std::map<std::string, double> fittedValues(const std::string& outputPath, const std::vector<std::string>& names)
{
    std::map<std::string, double> values;
    std::ifstream output(outputPath);
    for (std::string line; std::getline(output, line);) {
        for (char& c : line)
            if (c == '=')
                c = ' ';
            else if (c == ',')
                c = '.';
        std::istringstream words(line);
        std::string name;
        words >> name;
        if (std::find(names.begin(), names.end(), name) == names.end() || values.count(name)) continue;
        std::vector<double> numbers;
        for (double v; words >> v;) numbers.push_back(v);
        if (!numbers.empty()) values[name] = numbers.size() == 1 ? numbers[0] : numbers[1];
    }
    return values;
}

// The fit of `points` from `start` at order 256 by kavrin-batch-fit and by the
// script, each as a whole process, beside each one's bare start.
void wholeProcessFits(const std::vector<Observation>& points, const std::vector<std::pair<FitParameter, double>>& start,
                      double inProcessSeconds)
{
    const std::string scratch =
        std::filesystem::temp_directory_path().string() + "/kavrin-calibration-bench-" + std::to_string(getpid()) + "/";
    std::filesystem::create_directories(scratch);
    setenv("KAVRIN_ROOT", scratch.c_str(), 1);
    const std::string table = scratch + "wells.txt";
    {
        std::ofstream out(table);
        char line[200];
        for (const Observation& o : points) {
            std::snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g %.17g\n", o.C, o.X, o.Y, o.Z, o.T);
            out << line;
        }
    }
    std::vector<std::string> names;
    std::string list;
    std::vector<std::string> batch = {ExecutableFolder() + "kavrin-batch-fit", "fit", "--obs", table, "--set", "GaussOrder=256"};
    std::vector<std::string> script = {"/usr/bin/python3", std::string(KAVRIN_BENCH_SOURCE_DIR) + "/scipy-fit.py", table, "256"};
    for (const auto& [parameter, value] : start) {
        names.emplace_back(InfoOf(parameter).name);
        list += (list.empty() ? "" : ",") + names.back();
        batch.insert(batch.end(), {"--set", names.back() + "=" + FormatGeneral(value, '.')});
        script.push_back(names.back() + "=" + FormatGeneral(value, '.'));
    }
    batch.insert(batch.end(), {"--fit", list});
    const std::string outputs[2] = {scratch + "batch.txt", scratch + "script.txt"};
    const std::vector<std::string> programs[2] = {batch, script};
    const bench::Comparison fits = bench::inTurn(7, programs, outputs);
    const std::map<std::string, double> ours = fittedValues(outputs[0], names), theirs = fittedValues(outputs[1], names);
    const std::vector<std::string> bare[2] = {{batch[0], "--help"},
                                              {"/usr/bin/python3", "-c", "import numpy, scipy.optimize, scipy.special"}};
    const bench::Comparison starts = bench::inTurn(7, bare, outputs);
    std::filesystem::remove_all(scratch);
    if (!fits.succeeded || !starts.succeeded || ours.size() != names.size() || theirs.size() != names.size()) {
        std::printf("  fit as a whole process: not compared (kavrin-batch-fit or /usr/bin/python3 with python3-scipy failed)\n");
        return;
    }
    double apart = 0;
    for (const std::string& name : names) apart = std::max(apart, std::fabs(ours.at(name) / theirs.at(name) - 1));
    std::printf(
        "  the same fit as a whole process, median of 7 runs each, in turn (wall clock / processor time):\n"
        "    kavrin-batch-fit                 %7.0f ms / %5.0f ms   (floor: the program's start alone %.0f / %.0f ms,\n"
        "                                                               plus the fit in process %.0f ms)\n"
        "    bench/scipy-fit.py (scipy TRF)   %7.0f ms / %5.0f ms   (floor: python3 importing numpy and scipy %.0f / %.0f ms)\n"
        "    ratio                            %7.1f x  / %5.1f x    (target >= 10 x; the fitted parameters differ by at most "
        "%.2g,\n"
        "                                                               relative, at the 6 digits kavrin-batch-fit prints)\n",
        fits.wall[0].median * 1e3, fits.cpu[0].median * 1e3, starts.wall[0].median * 1e3, starts.cpu[0].median * 1e3,
        inProcessSeconds * 1e3, fits.wall[1].median * 1e3, fits.cpu[1].median * 1e3, starts.wall[1].median * 1e3,
        starts.cpu[1].median * 1e3, fits.wall[1].median / fits.wall[0].median, fits.cpu[1].median / fits.cpu[0].median, apart);
}

}  // namespace

int main()
{
    const std::string valores = ExecutableFolder() + "valores.txt";
    const unsigned workers = WorkerCount();
    const int count = 1000;
    ParameterTexts texts = InitialParameterTexts();
    texts.comboBox1 = "256";
    const std::vector<ObservationTexts> table = observationTable(count);

    ModelState model;
    QuadratureState quadrature;
    const double compare = seconds(5, [&] { CompareObservations(table, texts, valores, '.', model, quadrature, workers); });
    const std::vector<Observation> observations = ReadObservations(table, '.');
    volatile double sink = 0;
    const double floor = seconds(5, [&] {
        for (const Observation& o : observations) sink = sink + PointConcentration(o.X, o.Y, o.Z, o.T, model, quadrature);
    });
    // The same evaluations shared among the workers, as "Calcular" shares them: the floor under the same load.
    std::vector<double> values(observations.size());
    const double sharedFloor = seconds(5, [&] {
        ParallelFor(count, 8, workers, [&](int begin, int end) {
            for (int i = begin; i < end; ++i) {
                const Observation& o = observations[static_cast<std::size_t>(i)];
                values[static_cast<std::size_t>(i)] = PointConcentration(o.X, o.Y, o.Z, o.T, model, quadrature);
            }
        });
    });

    std::printf("KAVRIN calibration benchmark — %u worker thread(s), order 256\n", workers);
    std::printf("  compare %d observations          %10.1f ms   (target < 1000 ms and within 2 x the floor: the %d point\n"
                "                                                evaluations alone on %u threads, %.1f ms (%.1f ms on one\n"
                "                                                core); ratio %.2f x)\n",
                count, compare * 1e3, count, workers, sharedFloor * 1e3, floor * 1e3, compare / sharedFloor);

    // A fit of 5 parameters to 100 observations at order 256, started off by factors 2–3.
    Variaveis(texts, model, '.');
    std::vector<Observation> points = wells(100);
    const std::vector<double> exact = CalculatedConcentrations(points, model, quadrature, workers);
    for (std::size_t i = 0; i < points.size(); ++i) points[i].C = exact[i];
    const std::vector<std::pair<FitParameter, double>> start = {{FitParameter::AlphaX, 2.5},
                                                                {FitParameter::AlphaY, 0.5},
                                                                {FitParameter::AlphaZ, 0.07},
                                                                {FitParameter::Kxx, 0.2},
                                                                {FitParameter::C0, 1.2}};
    const ModelState startModel = withValues(model, start);
    // Set up as the window and kavrin-batch-fit set it up: a first pass at order 60.
    FitChoices choices;
    for (const auto& entry : start) choices.parameters.push_back(entry.first);
    const std::unique_ptr<FitSetup> setup = SetUpFit(choices, points, startModel, QuadratureState(), valores, '.');
    FitResult fit;
    const double fitSeconds = seconds(3, [&] { fit = FitObservations(points, startModel, setup->quadrature, setup->settings); });
    const double evaluation = seconds(5, [&] { CalculatedConcentrations(points, model, quadrature, workers); });
    // The floor: the central Jacobian of the covariance alone (C0's column is exact).
    const int evaluations = 1 + 2 * 4;
    std::printf("  fit 5 parameters to 100 obs.       %10.1f ms   (target < 1000 ms; %d iterations, orders 60 then 256:\n"
                "                                                %d evaluations of the 100 observations at order 256\n"
                "                                                and %d at order 60; floor: the %d evaluations of the\n"
                "                                                covariance's Jacobian at %.2f ms = %.1f ms)\n",
                fitSeconds * 1e3, fit.iterations, fit.evaluations, fit.coarseEvaluations, evaluations, evaluation * 1e3,
                evaluations * evaluation * 1e3);
    wholeProcessFits(points, start, fitSeconds);

    // The reported standard errors against the scatter of the estimates over
    // 200 data sets of the same wells with fixed-seed noise (order 60).
    LoadGaussOrder(quadrature, 60, valores, '.');
    model.GaussOrder = 60;
    std::vector<Observation> base = wells(40);
    const std::vector<double> truth = CalculatedConcentrations(base, model, quadrature, workers);
    const std::vector<std::pair<FitParameter, double>> noisyStart = {
        {FitParameter::AlphaX, 2}, {FitParameter::AlphaY, 0.1}, {FitParameter::C0, 0.8}};
    const ModelState noisyModel = withValues(model, noisyStart);
    Noise noise;
    const int sets = 200;
    std::vector<double> sum(3), sumSquares(3), meanError(3);
    std::vector<int> covered(3);
    const double trueValues[3] = {model.AlphaX, model.AlphaY, model.C0};
    for (int k = 0; k < sets; ++k) {
        for (std::size_t i = 0; i < base.size(); ++i) base[i].C = truth[i] + noise.next(0.004);
        const FitResult noisy = FitObservations(base, noisyModel, quadrature, settingsFor(noisyStart, noisyModel, workers));
        for (std::size_t j = 0; j < 3; ++j) {
            const FittedParameter& p = noisy.parameters[j];
            sum[j] += p.value;
            sumSquares[j] += p.value * p.value;
            meanError[j] += p.standardError / sets;
            covered[j] += p.lower95 <= trueValues[j] && trueValues[j] <= p.upper95;
        }
    }
    std::printf("  standard errors against the scatter of %d noisy fits (sigma 0.004 mg/L, 40 obs., order 60):\n", sets);
    for (std::size_t j = 0; j < 3; ++j) {
        const double mean = sum[j] / sets;
        const double scatter = std::sqrt((sumSquares[j] - sets * mean * mean) / (sets - 1));
        std::printf("    %-8s scatter %.5g, mean reported error %.5g (ratio %.3f), 95%% intervals holding the truth: %d of %d\n",
                    InfoOf(noisyStart[j].first).name, scatter, meanError[j], meanError[j] / scatter, covered[j], sets);
    }
    return 0;
}
