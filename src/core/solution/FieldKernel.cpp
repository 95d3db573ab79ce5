#include "solution/FieldKernel.h"

#include "solution/ExpErfc.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace kavrin {

namespace {

constexpr int kRowGroup = 4;
constexpr int kColumnBlock = 128;

std::size_t at(int row, int width, int column)
{
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(width) + static_cast<std::size_t>(column);
}

void shapeField(const ModelState& m, TimeField& field)
{
    field.rows = std::max(0, m.NY + 1);
    field.columns = std::max(0, m.NX + 1);
    field.values.resize(static_cast<std::size_t>(field.rows) *
                        static_cast<std::size_t>(field.columns));  // every value is written
}

double rowY(const ModelState& m, int row)
{
    return row * m.DY + m.Y0;
}
double columnX(const ModelState& m, int column)
{
    return column * m.DX + m.X0;
}

double pointValue(double TT, int row, int column, const ModelState& m, const QuadratureState& q)
{
    return m.C0 * PointConcentration(columnX(m, column), rowY(m, row), m.PlaneZ, TT, m, q);
}

bool fastFormApplies(double TT, const ModelState& m, const QuadratureState& q)
{
    auto positive = [](double v) { return v > 0 && std::isfinite(v); };
    return TT > 0 && std::isfinite(TT) && q.GaussN > 0 && positive(m.DispX) && positive(m.DispY) && positive(m.DispZ);
}

// The per-node quantities of one time.
struct Nodes {
    int n = 0;
    std::vector<double> tau, zWeight, yScale;
    bool valid = true;
};

Nodes timeNodes(double b, const ModelState& m, const QuadratureState& q)
{
    Nodes nodes;
    nodes.n = q.GaussN;
    for (int i = 1; i <= nodes.n; ++i) {
        const double sigma = (q.GaussNodes[static_cast<std::size_t>(i)] + 1) * b / 2;
        const double sigma2 = sigma * sigma;
        const double tau = sigma2 * sigma2;
        const double zScale = 2 * sigma2 * std::sqrt(m.DispZ);
        const double f1 = ExpErfcHorner(0, (m.ZMin - m.PlaneZ) / zScale);
        const double f2 = ExpErfcHorner(0, (m.ZMax - m.PlaneZ) / zScale);
        const double weight = (f1 - f2) * q.GaussWeights[static_cast<std::size_t>(i)] / (sigma * sigma2);
        if (!(tau > 0) || !std::isfinite(tau) || !std::isfinite(weight)) nodes.valid = false;
        nodes.tau.push_back(tau);
        nodes.zWeight.push_back(weight);
        nodes.yScale.push_back(2 * sigma2 * std::sqrt(m.DispY));
    }
    return nodes;
}

}  // namespace

// Sanitizer builds (ThreadSanitizer, the fuzzers) turn the per-processor
// variants off: their resolver runs before the sanitizer runtime is ready.
#ifdef KAVRIN_NO_TARGET_CLONES
#define KAVRIN_TARGET_CLONES
#else
#define KAVRIN_TARGET_CLONES __attribute__((target_clones("avx2", "default")))
#endif

// Every sum of the product runs over the nodes in order, starting from zero,
// one multiplication and one addition per node, whatever the tiling: the
// values do not depend on the tiles, the threads or the row split.
KAVRIN_TARGET_CLONES
void MultiplyRows(const double* Y, int n, const double* E, int columns, double* S, std::size_t stride, int rowBegin, int rowEnd)
{
    using Pack = double __attribute__((vector_size(4 * sizeof(double))));  // four columns
    auto single = [&](int k, int j) {
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += Y[at(k, n, i)] * E[at(i, columns, j)];
        S[static_cast<std::size_t>(k) * stride + static_cast<std::size_t>(j)] = sum;
    };
    // A block of columns keeps its part of E in the core's cache while every
    // row group passes over it; a tile of kRowGroup rows × 8 columns keeps its
    // sums in registers over all nodes.
    for (int j0 = 0; j0 < columns; j0 += kColumnBlock) {
        const int j1 = std::min(columns, j0 + kColumnBlock);
        int k = rowBegin;
        for (; k + kRowGroup <= rowEnd; k += kRowGroup) {
            int j = j0;
            for (; j + 8 <= j1; j += 8) {
                Pack sum[kRowGroup][2] = {};
                for (int i = 0; i < n; ++i) {
                    Pack left, right;
                    std::memcpy(&left, E + at(i, columns, j), sizeof left);
                    std::memcpy(&right, E + at(i, columns, j + 4), sizeof right);
                    for (int r = 0; r < kRowGroup; ++r) {
                        const double y = Y[at(k + r, n, i)];
                        sum[r][0] += y * left;
                        sum[r][1] += y * right;
                    }
                }
                for (int r = 0; r < kRowGroup; ++r)
                    std::memcpy(S + static_cast<std::size_t>(k + r) * stride + static_cast<std::size_t>(j), sum[r],
                                sizeof sum[r]);
            }
            for (; j < j1; ++j)
                for (int r = 0; r < kRowGroup; ++r) single(k + r, j);
        }
        for (; k < rowEnd; ++k)
            for (int j = j0; j < j1; ++j) single(k, j);
    }
}

void ComputeTimeFieldByPoints(double TT, const ModelState& m, const QuadratureState& q, unsigned workers, TimeField& field)
{
    shapeField(m, field);
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k)
            for (int j = 0; j < field.columns; ++j) field.values[at(k, field.columns, j)] = pointValue(TT, k, j, m, q);
    });
}

namespace {

// The columns that go into the product: downstream of the source, with exp(m)
// within [0, 1] at every node. The others keep the point formula.
struct ProductColumns {
    std::vector<int> ofColumn;  // product column of each grid column, -1 for none
    int count = 0;
    int firstColumn = -1;  // when the product columns are the grid columns
                           // firstColumn, firstColumn + 1, …: the product
                           // goes straight into the field's rows
};

// exp(m) of the longitudinal term and the decay for every (node, column), left
// node-major in field.exponentials for the columns that the product carries.
ProductColumns longitudinalFactors(const ModelState& m, const Nodes& nodes, unsigned workers, TimeField& field)
{
    const int n = nodes.n;
    std::vector<int> candidate;
    for (int j = 0; j < field.columns; ++j)
        if (columnX(m, j) > 0) candidate.push_back(j);
    const int candidates = static_cast<int>(candidate.size());
    LargeBuffer<double>& exponentials = field.exponentials;
    exponentials.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(candidates));
    std::vector<char> safe(static_cast<std::size_t>(candidates), 1);
    ParallelFor(candidates, 1, workers, [&](int begin, int end) {
        for (int c = begin; c < end; ++c) {
            const double XX = columnX(m, candidate[static_cast<std::size_t>(c)]);
            for (int i = 0; i < n; ++i) {
                const double tau = nodes.tau[static_cast<std::size_t>(i)];
                const double A = XX - m.Velocity * tau;
                const double exponent = -A * A / (4 * m.DispX * tau) - m.Decay * tau;
                if (!(exponent <= 0)) safe[static_cast<std::size_t>(c)] = 0;
                exponentials[at(i, candidates, c)] = ExpOrZero(exponent);
            }
        }
    });

    ProductColumns product;
    product.ofColumn.assign(static_cast<std::size_t>(field.columns), -1);
    for (int c = 0; c < candidates; ++c)
        if (safe[static_cast<std::size_t>(c)])
            product.ofColumn[static_cast<std::size_t>(candidate[static_cast<std::size_t>(c)])] = product.count++;
    if (product.count == candidates) {
        if (candidates > 0 && candidate.back() - candidate.front() == candidates - 1) product.firstColumn = candidate.front();
        return product;
    }
    // Unsafe columns leave the matrix; each node's row moves left over them.
    for (int i = 0, p = 0; i < n; ++i)
        for (int c = 0; c < candidates; ++c)
            if (safe[static_cast<std::size_t>(c)])
                exponentials[static_cast<std::size_t>(p++)] = exponentials[at(i, candidates, c)];
    exponentials.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(product.count));
    return product;
}

// The row whose distance below the source's lower edge equals row k's
// distance below its upper edge, exactly, or -1. On a grid whose rows the
// source width spans a whole number of times (the usual case) that row's
// lower-edge erfc is row k's upper-edge erfc: the same argument, the same value.
int rowOfSameUpperDistance(const ModelState& m, int rows, int k)
{
    const double steps = (m.YMax - m.YMin) / m.DY;
    if (!(std::fabs(steps) < rows)) return -1;
    const int j = k - static_cast<int>(std::nearbyint(steps));
    return j >= 0 && j < rows && m.YMin - rowY(m, j) == m.YMax - rowY(m, k) ? j : -1;
}

// The erfc difference across the source width times the node's Z factor and
// weight, for every (row, node), in field.yFactors. The lower edge's erfc of
// every (row, node) comes first, in field.yLower, so that the upper edge takes
// those it shares instead of computing them again.
void transverseFactors(const ModelState& m, const Nodes& nodes, unsigned workers, TimeField& field)
{
    const int n = nodes.n;
    const std::size_t size = static_cast<std::size_t>(field.rows) * static_cast<std::size_t>(n);
    LargeBuffer<double>& lower = field.yLower;
    lower.resize(size);
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const double YY = rowY(m, k);
            for (int i = 0; i < n; ++i)
                lower[at(k, n, i)] = ExpErfcHorner(0, (m.YMin - YY) / nodes.yScale[static_cast<std::size_t>(i)]);
        }
    });
    LargeBuffer<double>& yFactors = field.yFactors;
    yFactors.resize(size);
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            const double YY = rowY(m, k);
            const int shared = rowOfSameUpperDistance(m, field.rows, k);
            for (int i = 0; i < n; ++i) {
                const double upper = shared >= 0 ? lower[at(shared, n, i)]
                                                 : ExpErfcHorner(0, (m.YMax - YY) / nodes.yScale[static_cast<std::size_t>(i)]);
                const double difference = lower[at(k, n, i)] - upper;
                yFactors[at(k, n, i)] = difference * nodes.zWeight[static_cast<std::size_t>(i)];
            }
        }
    });
}

// The quadrature sums as one product (rows × nodes by nodes × product columns),
// scaled to concentrations; points outside the product, or whose scaled value
// is not finite, take the point formula.
void sumAndScale(double TT, double b, const ModelState& m, const QuadratureState& q, int n, const ProductColumns& product,
                 unsigned workers, TimeField& field)
{
    const int columns = product.count;
    double* sums = field.values.data() + std::max(product.firstColumn, 0);
    std::size_t stride = static_cast<std::size_t>(field.columns);
    if (product.firstColumn < 0) {
        field.sums.resize(static_cast<std::size_t>(field.rows) * static_cast<std::size_t>(std::max(columns, 1)));
        sums = field.sums.data();
        stride = static_cast<std::size_t>(columns);
    }
    const double denominator = 2 * std::sqrt(std::numbers::pi * m.DispX);
    ParallelFor(field.rows, kRowGroup, workers, [&](int begin, int end) {
        MultiplyRows(field.yFactors.data(), n, field.exponentials.data(), columns, sums, stride, begin, end);
        for (int k = begin; k < end; ++k) {
            for (int j = 0; j < field.columns; ++j) {
                const int p = product.ofColumn[static_cast<std::size_t>(j)];
                const double sum = p >= 0 ? sums[static_cast<std::size_t>(k) * stride + static_cast<std::size_t>(p)] : 0;
                double& value = field.values[at(k, field.columns, j)];
                if (p >= 0) {
                    const double XX = columnX(m, j);
                    value = m.C0 * (XX * (sum * b / 2) / denominator);
                    if (std::isfinite(value)) continue;
                }
                value = pointValue(TT, k, j, m, q);
            }
        }
    });
}

}  // namespace

void ComputeTimeField(double TT, const ModelState& m, const QuadratureState& q, unsigned workers, TimeField& field)
{
    if (!fastFormApplies(TT, m, q)) {
        ComputeTimeFieldByPoints(TT, m, q, workers, field);
        return;
    }
    const double b = std::pow(TT, 0.25);
    const Nodes nodes = timeNodes(b, m, q);
    if (!nodes.valid) {
        ComputeTimeFieldByPoints(TT, m, q, workers, field);
        return;
    }
    shapeField(m, field);
    const ProductColumns product = longitudinalFactors(m, nodes, workers, field);
    transverseFactors(m, nodes, workers, field);
    sumAndScale(TT, b, m, q, nodes.n, product, workers, field);
}

}  // namespace kavrin
