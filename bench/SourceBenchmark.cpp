// Measures one time of the whole-grid kernel on the 451 × 451 plume with each
// source history and with one and five zones, side by side with the constant
// source: a decaying source only reweighs the nodes (target: at most 1.2 × the
// constant source), a stopped release is the sum of two fields, and each zone
// adds its row factors to the one product (target: five zones at most 5.5 × one).
#include "BenchPlume.h"
#include "BenchTiming.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "text/NumberText.h"
#include "workspace/ExecutableFolder.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

using namespace kavrin;

namespace {

constexpr double kTime = bench::kPlumeTime;
using bench::PlumeModel;

struct Case {
    const char* name;
    std::function<void(ModelState&)> set;
};

const Case kCases[] = {
    {"constant source", [](ModelState&) {}},
    {"decaying source",
     [](ModelState& m) {
         m.source.history = SourceHistory::Decay;
         m.source.decayRate = std::numbers::ln2 / 40000;
     }},
    {"stopped release (2 fields)",
     [](ModelState& m) {
         m.source.history = SourceHistory::Stop;
         m.source.releaseEnd = 50000;
     }},
    {"three steps (3 fields)",
     [](ModelState& m) {
         m.source.history = SourceHistory::Steps;
         m.source.steps = {{0, 1}, {30000, 0.5}, {60000, 0.2}};
     }},
    {"one zone off y = 0", [](ModelState& m) { m.source.firstZoneY = 15; }},
    {"five zones",
     [](ModelState& m) {
         m.source.firstZoneY = 15;
         m.source.moreZones = {{15, 0, 6, 1, 2}, {-30, 0, 10, 3, 0.3}, {-60, 1, 8, 2, 0.1}, {60, -1, 12, 2, 0.2}};
     }},
};

}  // namespace

int main()
{
    const std::string valores = ExecutableFolder() + "valores.txt";
    const unsigned workers = WorkerCount();
    constexpr int kRounds = 21;
    std::printf("One time of the whole-grid kernel, 451 x 451 points, %u threads: the fastest of %d rounds that take the\n"
                "cases in turn (the figure least disturbed by other work on the machine), and the median\n",
                workers, kRounds);
    for (int order : {60, 256}) {
        std::printf(" order %d\n", order);
        QuadratureState q;
        LoadGaussOrder(q, order, valores, '.');
        std::vector<ModelState> models;
        for (const Case& c : kCases) {
            models.push_back(PlumeModel(order));
            c.set(models.back());
        }
        std::vector<std::vector<double>> times(std::size(kCases));
        TimeField field;
        for (int round = 0; round < kRounds; ++round)
            for (std::size_t k = 0; k < models.size(); ++k)
                times[k].push_back(bench::seconds(1, [&] { ComputeTimeField(kTime, models[k], q, workers, field); }));
        std::vector<double> fastest, median;
        for (std::vector<double>& t : times) {
            std::sort(t.begin(), t.end());
            fastest.push_back(t.front());
            median.push_back(t[t.size() / 2]);
        }
        for (std::size_t k = 0; k < models.size(); ++k) {
            const std::string name = kCases[k].name;
            std::printf("  %-28s %6.2f ms (median %6.2f)  %.2f x constant (medians %.2f)", name.c_str(), fastest[k] * 1e3,
                        median[k] * 1e3, fastest[k] / fastest[0], median[k] / median[0]);
            if (name == "decaying source") std::printf("  target: at most 1.2 x");
            if (name == "five zones")
                std::printf(", %.2f x one zone off y = 0 (medians %.2f)  target: at most 5.5 x one zone", fastest[k] / fastest[4],
                            median[k] / median[4]);
            std::printf("\n");
        }
    }
    return 0;
}
