#include "solution/FieldKernel.h"

#include "solution/ExpErfc.h"
#include "solution/Parallel.h"
#include "solution/Solution.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
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

double pointValue(double TT, int row, int column, const SourceSuperposition& source, const ModelState& m,
                  const QuadratureState& q)
{
    return PointValue(columnX(m, column), rowY(m, row), m.PlaneZ, TT, source, m, q);
}

// What one switched-on field takes where the product cannot carry a point.
using PointFallback = std::function<double(int row, int column)>;

bool fastFormApplies(double TT, const ModelState& m, const QuadratureState& q)
{
    auto positive = [](double v) { return v > 0 && std::isfinite(v); };
    return TT > 0 && std::isfinite(TT) && q.GaussN > 0 && positive(m.DispX) && positive(m.DispY) && positive(m.DispZ);
}

// The per-node quantities of one time; zWeight holds each zone's Z factor
// times the node's weight (and the decaying history's factor).
struct Nodes {
    int n = 0;
    std::vector<double> tau, yScale;
    std::vector<std::vector<double>> zWeight;
    bool valid = true;
};

Nodes timeNodes(double TT, double b, const SourceSuperposition& source, const ModelState& m, const QuadratureState& q)
{
    Nodes nodes;
    nodes.n = q.GaussN;
    nodes.zWeight.resize(source.zones.size());
    for (int i = 1; i <= nodes.n; ++i) {
        const double sigma = (q.GaussNodes[static_cast<std::size_t>(i)] + 1) * b / 2;
        const double sigma2 = sigma * sigma;
        const double tau = sigma2 * sigma2;
        const double zScale = 2 * sigma2 * std::sqrt(m.DispZ);
        const double history = source.decayRate > 0 ? std::exp(-source.decayRate * (TT - tau)) : 1;
        for (std::size_t z = 0; z < source.zones.size(); ++z) {
            const ZoneTerm& zone = source.zones[z];
            // Above the zone, the difference of the small complements (see SourceSuperposition::plain).
            const bool above = !source.plain && m.PlaneZ > zone.ZMax;
            const double f1 =
                above ? ExpErfcHorner(0, (m.PlaneZ - zone.ZMax) / zScale) : ExpErfcHorner(0, (zone.ZMin - m.PlaneZ) / zScale);
            const double f2 =
                above ? ExpErfcHorner(0, (m.PlaneZ - zone.ZMin) / zScale) : ExpErfcHorner(0, (zone.ZMax - m.PlaneZ) / zScale);
            double weight = (f1 - f2) * q.GaussWeights[static_cast<std::size_t>(i)] / (sigma * sigma2);
            if (source.decayRate > 0) weight *= history;
            if (!std::isfinite(weight)) nodes.valid = false;
            nodes.zWeight[z].push_back(weight);
        }
        if (!(tau > 0) || !std::isfinite(tau)) nodes.valid = false;
        nodes.tau.push_back(tau);
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

namespace {

void fieldByPoints(const ModelState& m, unsigned workers, TimeField& field, const PointFallback& value)
{
    shapeField(m, field);
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k)
            for (int j = 0; j < field.columns; ++j) field.values[at(k, field.columns, j)] = value(k, j);
    });
}

}  // namespace

void ComputeTimeFieldByPoints(double TT, const ModelState& m, const QuadratureState& q, unsigned workers, TimeField& field)
{
    const SourceSuperposition source(m);
    fieldByPoints(m, workers, field, [&](int k, int j) { return pointValue(TT, k, j, source, m, q); });
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

// The row whose distance below the zone's lower edge equals row k's
// distance below its upper edge, exactly, or -1. On a grid whose rows the
// zone's width spans a whole number of times (the usual case) that row's
// lower-edge erfc is row k's upper-edge erfc: the same argument, the same value.
int rowOfSameUpperDistance(const ModelState& m, const ZoneTerm& zone, int rows, int k)
{
    const double steps = (zone.YMax - zone.YMin) / m.DY;
    if (!(std::fabs(steps) < rows)) return -1;
    const int j = k - static_cast<int>(std::nearbyint(steps));
    return j >= 0 && j < rows && zone.YMin - rowY(m, j) == zone.YMax - rowY(m, k) ? j : -1;
}

// Above the zone: the row whose distance above the upper edge equals row k's
// distance above the lower edge, exactly, or -1.
int rowOfSameLowerDistance(const ModelState& m, const ZoneTerm& zone, int rows, int k)
{
    const double steps = (zone.YMax - zone.YMin) / m.DY;
    if (!(std::fabs(steps) < rows)) return -1;
    const int j = k + static_cast<int>(std::nearbyint(steps));
    return j >= 0 && j < rows && rowY(m, j) - zone.YMax == rowY(m, k) - zone.YMin ? j : -1;
}

// The erfc difference across the zone's width times the node's Z factor and
// weight, for every (row, node), in field.yFactors; with several zones each
// adds its concentration times that. The first edge's erfc of every (row,
// node) comes first, in field.yLower, so that the second edge takes those it
// shares instead of computing them again. Rows above a zone of any source
// but the plain one take the difference of the small complements, the
// upper edge's first (see SourceSuperposition::plain).
void transverseFactors(const ModelState& m, const SourceSuperposition& source, const Nodes& nodes, unsigned workers,
                       TimeField& field)
{
    const int n = nodes.n;
    const std::size_t size = static_cast<std::size_t>(field.rows) * static_cast<std::size_t>(n);
    const bool oneZone = source.zones.size() == 1;
    LargeBuffer<double>& first = field.yLower;
    first.resize(size);
    LargeBuffer<double>& yFactors = field.yFactors;
    yFactors.resize(size);
    for (std::size_t z = 0; z < source.zones.size(); ++z) {
        const ZoneTerm& zone = source.zones[z];
        const std::vector<double>& zWeight = nodes.zWeight[z];
        auto above = [&](int k) { return !source.plain && rowY(m, k) > zone.YMax; };
        ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
            for (int k = begin; k < end; ++k) {
                const double YY = rowY(m, k);
                const double distance = above(k) ? YY - zone.YMax : zone.YMin - YY;
                for (int i = 0; i < n; ++i)
                    first[at(k, n, i)] = ExpErfcHorner(0, distance / nodes.yScale[static_cast<std::size_t>(i)]);
            }
        });
        ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
            for (int k = begin; k < end; ++k) {
                const double YY = rowY(m, k);
                const bool flipped = above(k);
                const double distance = flipped ? YY - zone.YMin : zone.YMax - YY;
                const int shared =
                    flipped ? rowOfSameLowerDistance(m, zone, field.rows, k) : rowOfSameUpperDistance(m, zone, field.rows, k);
                const bool sharedAlike = shared >= 0 && above(shared) == flipped;
                for (int i = 0; i < n; ++i) {
                    const double second = sharedAlike ? first[at(shared, n, i)]
                                                      : ExpErfcHorner(0, distance / nodes.yScale[static_cast<std::size_t>(i)]);
                    const double difference = first[at(k, n, i)] - second;
                    const double factor = difference * zWeight[static_cast<std::size_t>(i)];
                    double& target = yFactors[at(k, n, i)];
                    if (oneZone)
                        target = factor;
                    else
                        target = (z == 0 ? 0 : target) + zone.concentration * factor;
                }
            }
        });
    }
}

// The quadrature sums as one product (rows × nodes by nodes × product columns),
// scaled to concentrations (`scale`: the one zone's concentration; with
// several, the row factors carry theirs); points outside the product, or whose
// scaled value is not finite, take `fallback`.
void sumAndScale(double b, double scale, const ModelState& m, int n, const ProductColumns& product, unsigned workers,
                 TimeField& field, const PointFallback& fallback)
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
                    value = scale * (XX * (sum * b / 2) / denominator);
                    if (std::isfinite(value)) continue;
                }
                value = fallback(k, j);
            }
        }
    });
}

}  // namespace

namespace {

// The field T days after a constant source was switched on (with the decaying
// history's weights), into field.values; `fallback` where the product cannot carry a point.
void switchedOnField(double T, const SourceSuperposition& source, const ModelState& m, const QuadratureState& q, unsigned workers,
                     TimeField& field, const PointFallback& fallback)
{
    const double b = std::pow(T, 0.25);
    const Nodes nodes = timeNodes(T, b, source, m, q);
    if (!nodes.valid) {
        fieldByPoints(m, workers, field, fallback);
        return;
    }
    shapeField(m, field);
    const ProductColumns product = longitudinalFactors(m, nodes, workers, field);
    transverseFactors(m, source, nodes, workers, field);
    const double scale = source.zones.size() == 1 ? source.zones[0].concentration : 1;
    sumAndScale(b, scale, m, nodes.n, product, workers, field, fallback);
}

}  // namespace

void ComputeTimeField(double TT, const ModelState& m, const QuadratureState& q, unsigned workers, TimeField& field)
{
    const SourceSuperposition source(m);
    const PointFallback point = [&](int k, int j) { return pointValue(TT, k, j, source, m, q); };
    if (!fastFormApplies(TT, m, q)) {
        fieldByPoints(m, workers, field, point);
        return;
    }
    if (source.singleShift()) {
        switchedOnField(TT, source, m, q, workers, field, point);
        return;
    }
    // A stopped release or steps: the sum of the switched-on fields of each
    // shift that has started, then the source plane by its own rule.
    shapeField(m, field);
    const std::size_t size = field.values.size();
    field.history.resize(size);
    bool first = true;
    for (const TimeShift& shift : source.shifts) {
        const double T = TT - shift.start;
        if (!(T > 0)) continue;
        switchedOnField(T, source, m, q, workers, field, [&](int k, int j) {
            const double x = columnX(m, j);
            return x > 0 ? SwitchedOnValue(T, x, rowY(m, k), m.PlaneZ, source, m, q) : 0;
        });
        ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
            for (std::size_t p = at(begin, field.columns, 0); p < at(end, field.columns, 0); ++p)
                field.history[p] = (first ? 0 : field.history[p]) + shift.weight * field.values[p];
        });
        first = false;
    }
    if (first) std::fill(field.history.begin(), field.history.end(), 0.0);
    std::swap(field.values, field.history);
    ParallelFor(field.rows, 1, workers, [&](int begin, int end) {
        for (int k = begin; k < end; ++k)
            for (int j = 0; j < field.columns; ++j)
                if (!(columnX(m, j) > 0)) field.values[at(k, field.columns, j)] = point(k, j);
    });
}

}  // namespace kavrin
