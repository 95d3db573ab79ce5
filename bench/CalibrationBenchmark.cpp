// Measures the calibration: "Calcular" on 1000 observations at order 256,
// side by side with its floor (the same point evaluations, one core, no table
// reading or statistics) and its target. `make bench` runs it.
#include "calibration/Comparison.h"
#include "model/Variaveis.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "text/NumberText.h"
#include "workspace/ExecutableFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace kavrin;

namespace {

using Clock = std::chrono::steady_clock;

// Median seconds of `repeats` calls.
double seconds(int repeats, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

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

    std::printf("KAVRIN calibration benchmark — %u worker thread(s), order 256\n", workers);
    std::printf("  compare %d observations          %10.1f ms   (target < 1000 ms; floor: the %d point evaluations\n"
                "                                                on one core %.1f ms, so %.1f ms on %u threads)\n",
                count, compare * 1e3, count, floor * 1e3, floor * 1e3 / workers, workers);
    return 0;
}
