#include "contour/MontaPoligono.h"

#include "contour/OutlineWalk.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <functional>

namespace kavrin {

namespace {

// The unused candidates in square buckets, for nearest-point queries with
// ties going to the later candidate: one block of indices, bucket after
// bucket, each bucket's unused ones first.
class PointBuckets {
public:
    static constexpr int kSide = 8;

    explicit PointBuckets(const std::vector<PixelPoint>& points) : points_(points), slot_(points.size())
    {
        minX_ = minY_ = std::numeric_limits<int>::max();
        int maxX = std::numeric_limits<int>::min(), maxY = maxX;
        for (const PixelPoint& p : points) {
            minX_ = std::min(minX_, p.x), minY_ = std::min(minY_, p.y);
            maxX = std::max(maxX, p.x), maxY = std::max(maxY, p.y);
        }
        columns_ = points.empty() ? 0 : (maxX - minX_) / kSide + 1;
        rows_ = points.empty() ? 0 : (maxY - minY_) / kSide + 1;
        const std::size_t buckets = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_);
        start_.assign(buckets + 1, 0);
        for (const PixelPoint& p : points) ++start_[bucketOf(p) + 1];
        for (std::size_t b = 0; b < buckets; ++b) start_[b + 1] += start_[b];
        size_.assign(buckets, 0);
        entries_.resize(points.size());
        columnCount_.assign(static_cast<std::size_t>(columns_), 0);
        for (std::size_t q = 0; q < points.size(); ++q) {
            const std::size_t b = bucketOf(points[q]);
            slot_[q] = start_[b] + size_[b]++;
            entries_[slot_[q]] = static_cast<int>(q);
            ++columnCount_[static_cast<std::size_t>(columnOf(points[q].x))];
        }
    }

    void remove(int q)
    {
        const PixelPoint p = points_[static_cast<std::size_t>(q)];
        const std::size_t b = bucketOf(p);
        const std::size_t at = slot_[static_cast<std::size_t>(q)], last = start_[b] + --size_[b];
        entries_[at] = entries_[last];
        slot_[static_cast<std::size_t>(entries_[at])] = at;
        --columnCount_[static_cast<std::size_t>(columnOf(p.x))];
    }

    // The unused point nearest to P (inside the buckets' range) among those
    // with x >= minX and not at `skip`: its index and squared distance, the
    // later index on a tie; -1 when there is none.
    std::pair<int, std::int64_t> nearest(PixelPoint P, int minX, const PixelPoint* skip) const
    {
        std::pair<int, std::int64_t> best{-1, std::numeric_limits<std::int64_t>::max()};
        if (columns_ == 0) return best;
        const int firstColumn = std::max(0, columnOf(std::max(minX, minX_)));
        if (minX > minX_ + (columns_ - 1) * kSide + kSide - 1) return best;
        const int pc = columnOf(P.x), pr = rowOf(P.y);  // P is one of the points
        const int rings = std::max({pc, columns_ - 1 - pc, pr, rows_ - 1 - pr});
        for (int r = 0; r <= rings; ++r) {
            for (int c = std::max(pc - r, firstColumn); c <= std::min(pc + r, columns_ - 1); ++c) {
                if (columnCount_[static_cast<std::size_t>(c)] == 0) continue;
                const bool edgeColumn = c == pc - r || c == pc + r;
                const int step = edgeColumn ? 1 : 2 * r;
                for (int row = pr - r; row <= pr + r; row += std::max(step, 1)) {
                    if (row < 0 || row >= rows_) continue;
                    const std::size_t b = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(c);
                    for (std::size_t e = start_[b]; e < start_[b] + size_[b]; ++e) {
                        const int q = entries_[e];
                        const PixelPoint Q = points_[static_cast<std::size_t>(q)];
                        if (Q.x < minX || (skip && Q == *skip)) continue;
                        const std::int64_t dx = Q.x - P.x, dy = Q.y - P.y, d2 = dx * dx + dy * dy;
                        if (d2 < best.second || (d2 == best.second && q > best.first)) best = {q, d2};
                    }
                }
            }
            // Buckets beyond ring r are at least r·kSide + 1 away.
            const std::int64_t reach = static_cast<std::int64_t>(r) * kSide + 1;
            if (best.first >= 0 && best.second < reach * reach) break;
        }
        return best;
    }

private:
    // Only for coordinates inside the points' range.
    int columnOf(int x) const { return (x - minX_) / kSide; }
    int rowOf(int y) const { return (y - minY_) / kSide; }
    std::size_t bucketOf(PixelPoint p) const
    {
        return static_cast<std::size_t>(rowOf(p.y)) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(columnOf(p.x));
    }

    const std::vector<PixelPoint>& points_;
    std::vector<std::size_t> slot_;   // where each point's index lies in entries_
    std::vector<std::size_t> start_;  // first entry of each bucket
    std::vector<std::size_t> size_;   // unused points of each bucket
    std::vector<int> entries_;
    std::vector<int> columnCount_;
    int minX_ = 0, minY_ = 0, columns_ = 0, rows_ = 0;
};

// The last unused candidate among some, found from the end as the walk uses
// them: the candidates at a point a rule names, or on the right edge.
class LastUnused {
public:
    LastUnused(const std::vector<PixelPoint>& points, const std::vector<char>& used, const std::function<bool(PixelPoint)>& chosen)
        : used_(used)
    {
        for (std::size_t q = 0; q < points.size(); ++q)
            if (chosen(points[q])) indices_.push_back(static_cast<int>(q));
    }
    int last()
    {
        while (!indices_.empty() && used_[static_cast<std::size_t>(indices_.back())]) indices_.pop_back();
        return indices_.empty() ? -1 : indices_.back();
    }

private:
    const std::vector<char>& used_;
    std::vector<int> indices_;
};

}  // namespace

PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre)
{
    const OutlineWalk walk = PrepareWalk(E, TopRow);
    const std::vector<PixelPoint>& points = walk.candidates;
    std::vector<char> used(points.size(), 0);
    PointBuckets buckets(points);
    // The two points a rule can name, and the right edge.
    const PixelPoint topMax{walk.TopMax, walk.TopRow}, corner{600, walk.TopRow};
    LastUnused atTopMax(points, used, [&](PixelPoint p) { return p == topMax; });
    LastUnused atCorner(points, used, [&](PixelPoint p) { return p == corner; });
    LastUnused onRightEdge(points, used, [](PixelPoint p) { return p.x == 600; });
    std::vector<PixelPoint> walked;
    walked.reserve(points.size());
    auto take = [&](int q) {
        used[static_cast<std::size_t>(q)] = 1;
        buckets.remove(q);
        walked.push_back(points[static_cast<std::size_t>(q)]);
    };

    // The start lies outside the points' range in general: one full look.
    const int first = NearestByScan(walk, walk.start(), used);
    if (first >= 0) take(first);
    while (!walked.empty()) {
        const PixelPoint P = walked.back();
        // Points a rule puts at distance one, and the rest at their true distance.
        int unit = -1;
        int minX = P.x;
        PixelPoint skip;
        const bool skipping = walk.pointRule(P, skip);
        if (walk.rightEdgeRule(P)) {
            unit = onRightEdge.last();
            minX = 601;
        } else if (skipping && skip.x >= P.x) {
            unit = skip == topMax ? atTopMax.last() : atCorner.last();
        }
        const auto [near, d2] = buckets.nearest(P, minX, skipping ? &skip : nullptr);
        int chosen = unit;
        if (near >= 0 && (unit < 0 || d2 < 1 || (d2 == 1 && near > unit))) chosen = near;
        if (chosen < 0) break;
        take(chosen);
    }
    return CloseWithMirror(walk.start(), walked, PlotCentre);
}

}  // namespace kavrin
