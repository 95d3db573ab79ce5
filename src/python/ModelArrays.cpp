#include "ModelArrays.h"

#include "model/RunChecks.h"
#include "SharedPointFactors.h"
#include "solution/FieldKernel.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"
#include "solution/SourceSuperposition.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kavrin {

std::pair<int, int> FieldShape(const PythonModel& model)
{
    if (const auto refusal = CheckGrid(model.model)) throw CheckError(EnglishRefusalText(*refusal));
    return {std::max(0, model.model.NY + 1), std::max(0, model.model.NX + 1)};
}

void ComputeFieldInto(PythonModel& model, double t, bool asWritten, double* out)
{
    const auto [rows, columns] = FieldShape(model);
    const unsigned workers = WorkerCount();
    TimeField field;
    ComputeTimeField(t, model.model, model.loadedQuadrature(), workers, field);
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
    if (!asWritten) {
        std::copy(field.values.data(), field.values.data() + count, out);
        return;
    }
    // The file's text of each value read back: what a reader of the time file gets.
    ParallelFor(rows, 1, workers, [&](int begin, int end) {
        char text[kGridValueMaxLength + 1];
        for (std::size_t i = static_cast<std::size_t>(begin) * columns; i < static_cast<std::size_t>(end) * columns; ++i) {
            *WriteGridValue(text, field.values[i], '.') = '\0';
            out[i] = std::strtod(text, nullptr);
        }
    });
}

void ComputePointsInto(PythonModel& model, const double* x, const double* y, const double* z, const double* t, std::size_t count,
                       double* out, const BetweenBlocks& between)
{
    const QuadratureState& quadrature = model.loadedQuadrature();
    const ModelState& m = model.model;
    const SourceSuperposition source(m);
    const unsigned workers = WorkerCount();
    // A block takes a fraction of a second at the highest order, so a stop asked is answered promptly.
    constexpr std::size_t kBlock = 1 << 14;
    constexpr int kGrain = 64;
    auto inBlocks = [&](std::size_t total, const std::function<void(std::size_t begin, std::size_t end)>& work) {
        for (std::size_t first = 0; first < total; first += kBlock) {
            const int size = static_cast<int>(std::min(kBlock, total - first));
            ParallelFor(size, kGrain, workers, [&](int begin, int end) { work(first + begin, first + end); });
            between();
        }
    };
    if (!SharedPointFactorsApply(source, m, quadrature)) {
        inBlocks(count, [&](std::size_t begin, std::size_t end) {
            for (std::size_t i = begin; i < end; ++i) out[i] = PointValue(x[i], y[i], z[i], t[i], source, m, quadrature);
        });
        return;
    }
    const std::vector<std::size_t> order = SharedPointOrder(x, y, z, t, count);
    // The points the shared form leaves (the source plane, t <= 0, x < 0, not finite) by the point formula.
    std::vector<char> shared(count, 0);
    for (std::size_t i : order) shared[i] = 1;
    std::vector<std::size_t> others;
    for (std::size_t i = 0; i < count; ++i)
        if (!shared[i]) others.push_back(i);
    inBlocks(others.size(), [&](std::size_t begin, std::size_t end) {
        for (std::size_t k = begin; k < end; ++k) {
            const std::size_t i = others[k];
            out[i] = PointValue(x[i], y[i], z[i], t[i], source, m, quadrature);
        }
    });
    inBlocks(order.size(), [&](std::size_t begin, std::size_t end) {
        SharedPointValues(x, y, z, t, order.data(), begin, end, source, m, quadrature, out);
    });
}

}  // namespace kavrin
