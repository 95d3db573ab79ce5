#include "plume/PlumeMetrics.h"

#include "plume/AxisReach.h"
#include "text/Errors.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

// The share of a triangle whose corners hold a, b and c where the value,
// linear over it, is above s.
double ShareAbove(double a, double b, double c, double s)
{
    const int above = (a > s) + (b > s) + (c > s);
    if (above == 0) return 0;
    if (above == 3) return 1;
    // One corner on its own side: the triangle it cuts off is the product of
    // the fractions of its two sides up to the crossing.
    if (above == 1) {
        const double p = a > s ? a : b > s ? b : c;
        const double q = a > s ? b : a, r = a > s || b > s ? c : b;
        return (p - s) / (p - q) * ((p - s) / (p - r));
    }
    const double p = a <= s ? a : b <= s ? b : c;
    const double q = a <= s ? b : a, r = a <= s || b <= s ? c : b;
    return 1 - (s - p) / (q - p) * ((s - p) / (r - p));
}

// Where the value falls to s between node `inside` (above s) and `outside`.
double Crossing(double inside, double outside, double from, double to, double s)
{
    return from + (inside - s) / (inside - outside) * (to - from);
}

double GreatestWidth(const PlumeField& f, double s, bool& atEdge)
{
    double width = 0;
    for (int j = 0; j < f.columns(); ++j) {
        int low = -1, high = -1;
        for (int k = 0; k < f.rows(); ++k)
            if (f.at(k, j) > s) {
                if (low < 0) low = k;
                high = k;
            }
        if (low < 0) continue;
        const int last = f.rows() - 1;
        if (low == 0 || high == last) atEdge = true;
        const double bottom = low == 0 ? f.y[0] : Crossing(f.at(low, j), f.at(low - 1, j), f.y[low], f.y[low - 1], s);
        const double top = high == last ? f.y[last] : Crossing(f.at(high, j), f.at(high + 1, j), f.y[high], f.y[high + 1], s);
        width = std::max(width, top - bottom);
    }
    return width;
}

double AreaAbove(const PlumeField& f, double s)
{
    double area = 0;
    for (int k = 0; k + 1 < f.rows(); ++k)
        for (int j = 0; j + 1 < f.columns(); ++j) {
            const double a = f.at(k, j), b = f.at(k, j + 1), c = f.at(k + 1, j + 1), d = f.at(k + 1, j);
            if (a <= s && b <= s && c <= s && d <= s) continue;
            const double m = a / 4 + b / 4 + c / 4 + d / 4;  // no sum of large values overflows
            const double share =
                ShareAbove(a, b, m, s) + ShareAbove(b, c, m, s) + ShareAbove(c, d, m, s) + ShareAbove(d, a, m, s);
            area += share / 4 * (f.x[j + 1] - f.x[j]) * (f.y[k + 1] - f.y[k]);
        }
    return area;
}

bool AboveOnEdge(const PlumeField& f, double s)
{
    const int rows = f.rows(), columns = f.columns();
    const bool firstIsEdge = std::fabs(f.x[0]) > 1e-9 * std::max(1.0, std::fabs(f.x.back() - f.x[0]));
    for (int k = 0; k < rows; ++k)
        for (int j = 0; j < columns; ++j) {
            const bool edge = k == 0 || k == rows - 1 || j == columns - 1 || (j == 0 && firstIsEdge);
            if (edge && f.at(k, j) > s) return true;
        }
    return false;
}

void LargestBeyond(const PlumeField& f, double distance, PlumeMetrics& out)
{
    if (!(distance <= f.x.back())) return;
    const int first = static_cast<int>(std::lower_bound(f.x.begin(), f.x.end(), distance) - f.x.begin());
    // Kept apart: only a value on the edge above every one inside may be
    // outdone outside the grid.
    double inside = -HUGE_VAL, onEdge = -HUGE_VAL;
    const auto consider = [&](double value, bool edge) {
        double& largest = edge ? onEdge : inside;
        largest = std::max(largest, value);
    };
    const int rows = f.rows(), columns = f.columns();
    for (int k = 0; k < rows; ++k) {
        const bool edgeRow = k == 0 || k == rows - 1;
        if (first > 0 && f.x[first] > distance) {
            const double a = f.at(k, first - 1), b = f.at(k, first);
            consider(a + (b - a) * ((distance - f.x[first - 1]) / (f.x[first] - f.x[first - 1])), edgeRow);
        }
        for (int j = first; j < columns; ++j) consider(f.at(k, j), edgeRow || j == columns - 1);
    }
    out.maxBeyond = std::max(inside, onEdge);
    out.maxBeyondAtEdge = onEdge > inside;
}

}  // namespace

PlumeMetrics MeasurePlume(const PlumeField& f, double standard, std::optional<double> beyond)
{
    if (!(standard > 0) || !std::isfinite(standard)) throw CheckError("The standard must be a concentration above 0 mg/L.");
    PlumeMetrics out;
    if (f.rows() == 0 || f.columns() == 0) return out;
    const std::span<const double> axis(f.values.data() + static_cast<std::size_t>(f.axisRow) * f.x.size(), f.x.size());
    const AxisReach reach = ReachAlongRow(axis, f.X0, f.DX, standard);
    out.length = reach.length;
    out.lengthAtEdge = reach.atEdge;
    out.width = GreatestWidth(f, standard, out.widthAtEdge);
    out.area = AreaAbove(f, standard);
    out.areaAtEdge = AboveOnEdge(f, standard);
    if (beyond) LargestBeyond(f, *beyond, out);
    return out;
}

PlumeMetrics MeasurePlume(const ResultGrid& grid, const ModelState& model, double standard, std::optional<double> beyond)
{
    return MeasurePlume(PlumeFieldOf(grid, model), standard, beyond);
}

}  // namespace kavrin
