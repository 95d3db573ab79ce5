#include "contour/MontaPoligono.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kavrin {

void OutlineWalker::fillBuckets()
{
    const std::vector<PixelPoint>& points = walk_.candidates;
    minX_ = minY_ = std::numeric_limits<int>::max();
    int maxX = std::numeric_limits<int>::min(), maxY = maxX;
    for (const PixelPoint& p : points) {
        minX_ = std::min(minX_, p.x), minY_ = std::min(minY_, p.y);
        maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
    }
    // About four points a bucket: a dense level (a noisy grid) is searched in
    // small squares, a sparse one in large squares; sides of a power of two.
    shift_ = 3;
    if (!points.empty()) {
        const double area = (static_cast<double>(maxX) - minX_ + 1) * (static_cast<double>(maxY) - minY_ + 1);
        shift_ = static_cast<int>(std::clamp(std::round(std::log2(4 * area / static_cast<double>(points.size())) / 2), 0.0, 6.0));
    }
    side_ = 1 << shift_;
    columns_ = points.empty() ? 0 : (maxX - minX_) / side_ + 1;
    rows_ = points.empty() ? 0 : (maxY - minY_) / side_ + 1;
    const std::size_t buckets = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
    start_.assign(buckets + 1, 0);
    for (const PixelPoint& p : points) ++start_[bucketOf(p) + 1];
    for (std::size_t b = 0; b < buckets; ++b) start_[b + 1] += start_[b];
    size_.assign(buckets, 0);
    slot_.resize(points.size());
    entries_.resize(points.size());
    columnCount_.assign(static_cast<std::size_t>(columns_), 0);
    for (std::size_t q = 0; q < points.size(); ++q) {
        const std::size_t b = bucketOf(points[q]);
        slot_[q] = start_[b] + size_[b]++;
        entries_[slot_[q]] = static_cast<int>(q);
        ++columnCount_[static_cast<std::size_t>(columnOf(points[q].x))];
    }
}

std::size_t OutlineWalker::bucketOf(PixelPoint p) const
{
    return static_cast<std::size_t>(rowOf(p.y)) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(columnOf(p.x));
}

void OutlineWalker::remove(int q)
{
    const PixelPoint p = walk_.candidates[static_cast<std::size_t>(q)];
    const std::size_t b = bucketOf(p);
    const std::uint32_t at = slot_[static_cast<std::size_t>(q)], last = start_[b] + --size_[b];
    entries_[at] = entries_[last];
    slot_[static_cast<std::size_t>(entries_[at])] = at;
    --columnCount_[static_cast<std::size_t>(columnOf(p.x))];
}

std::pair<int, std::int64_t> OutlineWalker::nearest(PixelPoint P, int minX, const PixelPoint* skip) const
{
    std::pair<int, std::int64_t> best{-1, std::numeric_limits<std::int64_t>::max()};
    if (columns_ == 0) return best;
    const int firstColumn = std::max(0, columnOf(std::max(minX, minX_)));
    if (minX > minX_ + (columns_ - 1) * side_ + side_ - 1) return best;
    const int pc = columnOf(P.x), pr = rowOf(P.y);  // P is one of the points
    const int rings = std::max({pc, columns_ - 1 - pc, pr, rows_ - 1 - pr});
    for (int r = 0; r <= rings; ++r) {
        for (int c = std::max(pc - r, firstColumn); c <= std::min(pc + r, columns_ - 1); ++c) {
            if (columnCount_[static_cast<std::size_t>(c)] == 0) continue;
            const bool edgeColumn = c == pc - r || c == pc + r;
            const int step = edgeColumn ? 1 : 2 * r;
            for (int row = pr - r; row <= pr + r; row += std::max(step, 1)) {
                if (row < 0 || row >= rows_) continue;
                const std::size_t b =
                    static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c);
                for (std::uint32_t e = start_[b]; e < start_[b] + size_[b]; ++e) {
                    const int q = entries_[e];
                    const PixelPoint Q = walk_.candidates[static_cast<std::size_t>(q)];
                    if (Q.x < minX || (skip && Q == *skip)) continue;
                    const std::int64_t dx = Q.x - P.x, dy = Q.y - P.y, d2 = dx * dx + dy * dy;
                    if (d2 < best.second || (d2 == best.second && q > best.first)) best = {q, d2};
                }
            }
        }
        // Buckets beyond ring r are at least r·side + 1 away.
        const std::int64_t reach = static_cast<std::int64_t>(r) * side_ + 1;
        if (best.first >= 0 && best.second < reach * reach) break;
    }
    return best;
}

int OutlineWalker::lastUnused(std::vector<int>& indices) const
{
    while (!indices.empty() && used_[static_cast<std::size_t>(indices.back())]) indices.pop_back();
    return indices.empty() ? -1 : indices.back();
}

PixelPolygon OutlineWalker::MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre)
{
    PrepareWalk(E, TopRow, walk_);
    const std::vector<PixelPoint>& points = walk_.candidates;
    used_.assign(points.size(), 0);
    fillBuckets();
    // The two points a rule can name, and the right edge.
    const PixelPoint topMax{walk_.TopMax, walk_.TopRow}, corner{600, walk_.TopRow};
    atTopMax_.clear(), atCorner_.clear(), onRightEdge_.clear();
    for (std::size_t q = 0; q < points.size(); ++q) {
        if (points[q] == topMax) atTopMax_.push_back(static_cast<int>(q));
        if (points[q] == corner) atCorner_.push_back(static_cast<int>(q));
        if (points[q].x == 600) onRightEdge_.push_back(static_cast<int>(q));
    }
    walked_.clear();
    auto take = [&](int q) {
        used_[static_cast<std::size_t>(q)] = 1;
        remove(q);
        walked_.push_back(points[static_cast<std::size_t>(q)]);
    };
    // The candidate the walk goes to from P, one of the points or the start
    // on the left edge (where a point lies): a rule's point at distance one,
    // the rest at their true distance.
    auto next = [&](PixelPoint P) {
        int unit = -1;
        int minX = P.x;
        PixelPoint skip;
        const bool skipping = walk_.pointRule(P, skip);
        if (walk_.rightEdgeRule(P)) {
            unit = lastUnused(onRightEdge_);
            minX = 601;
        } else if (skipping && skip.x >= P.x) {
            unit = lastUnused(skip == topMax ? atTopMax_ : atCorner_);
        }
        const auto [near, d2] = nearest(P, minX, skipping ? &skip : nullptr);
        if (near >= 0 && (unit < 0 || d2 < 1 || (d2 == 1 && near > unit))) return near;
        return unit;
    };

    // A start off the left edge lies outside the points' range: one full look.
    const int first = walk_.startsOnLeftEdge() ? next(walk_.start()) : NearestByScan(walk_, walk_.start(), used_);
    if (first >= 0) take(first);
    while (!walked_.empty()) {
        const int chosen = next(walked_.back());
        if (chosen < 0) break;
        take(chosen);
    }
    return CloseWithMirror(walk_.start(), walked_, PlotCentre);
}

PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre)
{
    return OutlineWalker().MontaPoligono(E, TopRow, PlotCentre);
}

}  // namespace kavrin
