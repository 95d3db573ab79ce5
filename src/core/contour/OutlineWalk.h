// What the outline's nearest-neighbour walk starts from, the distance it
// measures and the mirror image that closes it; shared by the walk the map
// uses and by the plain quadratic walk it is checked against.
#pragma once

#include "contour/PixelPoint.h"

#include <vector>

namespace kavrin {

inline constexpr int kNoPoint = -100000;  // "none" of the largest coordinates
inline constexpr double kFarthest = 9999999000;

struct OutlineWalk {
    std::vector<PixelPoint> candidates;  // the end points, after the corner when it joins
    int TopRow = 0;
    int LeftY = kNoPoint;  // largest y on the left edge x = 50
    int TopMax = kNoPoint, TopMin = -kNoPoint, TopNext = -kNoPoint, MaxX = kNoPoint;
    bool TouchesTop = false, RightOnTop = false;

    PixelPoint start() const;
    bool startsOnLeftEdge() const { return LeftY != kNoPoint; }

    // Distance from P to Q by the walk's rules (three pairs count as 1).
    double distance(PixelPoint P, PixelPoint Q) const;
    // Whether a rule makes the distance of every Q at `x` = 600 one, from P.
    bool rightEdgeRule(PixelPoint P) const { return RightOnTop && P.x == 600; }
    // The single point to which a rule sets the distance one from P, if any.
    bool pointRule(PixelPoint P, PixelPoint& Q) const;
};

// Scans the end points E of one level: the left edge, the top row TopRow,
// the corner (600, TopRow) when the right-most point lies on the top row.
OutlineWalk PrepareWalk(const std::vector<PixelPoint>& E, int TopRow);
// The same into `w`, whose candidates keep their room.
void PrepareWalk(const std::vector<PixelPoint>& E, int TopRow, OutlineWalk& w);

// The index of the unused candidate the walk goes to from P, or -1: the
// smallest distance among those with x >= P.x, the later one on a tie.
// Looks at every candidate.
int NearestByScan(const OutlineWalk& walk, PixelPoint P, const std::vector<char>& used);

// S, V1 … Vn, then the mirror images V′n … V′1 about the centre line.
PixelPolygon CloseWithMirror(PixelPoint S, const std::vector<PixelPoint>& walked, int PlotCentre);

}  // namespace kavrin
