// The outline of one level: its end points chained by a nearest-neighbour
// walk from the plot's left edge, closed by the mirror image about the plot's
// centre line.
#pragma once

#include "contour/OutlineWalk.h"
#include "contour/PixelPoint.h"

#include <cstdint>
#include <vector>

namespace kavrin {

// The walk through a spatial index of the points: at each step the unused
// point nearest by the walk's rules (OutlineWalk), without looking at every
// point at every step. One walker keeps its room from level to level.
class OutlineWalker {
public:
    PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

private:
    // The unused candidates in square buckets: one block of indices, bucket
    // after bucket, each bucket's unused ones first.
    void fillBuckets();
    void remove(int q);
    // The unused point nearest to P (inside the buckets' range) among those
    // with x >= minX and not at `skip`: its index and squared distance, the
    // later index on a tie; -1 when there is none.
    std::pair<int, std::int64_t> nearest(PixelPoint P, int minX, const PixelPoint* skip) const;
    int columnOf(int x) const { return (x - minX_) >> shift_; }
    int rowOf(int y) const { return (y - minY_) >> shift_; }
    std::size_t bucketOf(PixelPoint p) const;
    // The last unused of some candidates (kept in increasing order).
    int lastUnused(std::vector<int>& indices) const;

    OutlineWalk walk_;
    std::vector<char> used_;
    std::vector<std::uint32_t> slot_;   // where each point's index lies in entries_
    std::vector<std::uint32_t> start_;  // first entry of each bucket
    std::vector<std::uint32_t> size_;   // unused points of each bucket
    std::vector<int> entries_;
    std::vector<int> columnCount_;                        // unused points of each column of buckets
    std::vector<int> atTopMax_, atCorner_, onRightEdge_;  // the candidates the rules name
    std::vector<PixelPoint> walked_;
    int shift_ = 3, side_ = 8;  // a bucket's square: 2^shift_ = side_ pixels
    int minX_ = 0, minY_ = 0, columns_ = 0, rows_ = 0;
};

PixelPolygon MontaPoligono(const std::vector<PixelPoint>& E, int TopRow, int PlotCentre);

}  // namespace kavrin
