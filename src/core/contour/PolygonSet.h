// Many polygons in one block of vertices: the region of a level is made of
// up to four parts of every cell, too many to keep each in a vector of its own.
#pragma once

#include "contour/PixelPoint.h"

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace kavrin {

class PolygonSet {
public:
    void add(std::span<const PixelPoint> polygon)
    {
        points_.insert(points_.end(), polygon.begin(), polygon.end());
        ends_.push_back(points_.size());
    }
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::span<const PixelPoint> polygon(std::size_t k) const
    {
        const std::size_t begin = k == 0 ? 0 : ends_[k - 1];
        return std::span<const PixelPoint>(points_).subspan(begin, ends_[k] - begin);
    }
    PixelPolygon operator[](std::size_t k) const
    {
        const std::span<const PixelPoint> p = polygon(k);
        return {p.begin(), p.end()};
    }

    // The vertices and the polygons' ends, handed over whole.
    std::vector<PixelPoint> releasePoints() { return std::move(points_); }
    std::vector<std::size_t> releaseEnds() { return std::move(ends_); }

private:
    std::vector<PixelPoint> points_;
    std::vector<std::size_t> ends_;  // where each polygon ends in points_
};

}  // namespace kavrin
