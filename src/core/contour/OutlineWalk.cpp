#include "contour/OutlineWalk.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

PixelPoint OutlineWalk::start() const
{
    return {50, LeftY};
}

bool OutlineWalk::pointRule(PixelPoint P, PixelPoint& Q) const
{
    if (!RightOnTop && P == PixelPoint{TopNext, TopRow}) {
        Q = {TopMax, TopRow};
        return true;
    }
    if (RightOnTop && P == PixelPoint{TopMax, TopRow}) {
        Q = {600, TopRow};
        return true;
    }
    return false;
}

double OutlineWalk::distance(PixelPoint P, PixelPoint Q) const
{
    if (rightEdgeRule(P) && Q.x == 600) return 1;
    PixelPoint ruled;
    if (pointRule(P, ruled) && Q == ruled) return 1;
    const double dx = static_cast<double>(Q.x) - P.x, dy = static_cast<double>(Q.y) - P.y;
    return std::sqrt(dx * dx + dy * dy);
}

OutlineWalk PrepareWalk(const std::vector<PixelPoint>& E, int TopRow)
{
    OutlineWalk w;
    PrepareWalk(E, TopRow, w);
    return w;
}

void PrepareWalk(const std::vector<PixelPoint>& E, int TopRow, OutlineWalk& w)
{
    std::vector<PixelPoint> candidates = std::move(w.candidates);
    candidates.clear();
    w = OutlineWalk{};
    w.TopRow = TopRow;
    for (const PixelPoint& p : E) {
        if (p.x == 50) w.LeftY = std::max(w.LeftY, p.y);
        if (p.y == TopRow) {
            w.TopMax = std::max(w.TopMax, p.x);
            w.TopMin = std::min(w.TopMin, p.x);
            w.TouchesTop = true;
        }
        w.MaxX = std::max(w.MaxX, p.x);
    }
    w.RightOnTop = w.MaxX == w.TopMax;
    if (w.TouchesTop && w.RightOnTop) candidates.push_back({600, TopRow});
    candidates.insert(candidates.end(), E.begin(), E.end());
    w.candidates = std::move(candidates);
    if (w.TouchesTop) {
        w.TopNext = w.TopMin;
        for (const PixelPoint& p : w.candidates)
            if (p.y == TopRow && w.TopNext < p.x && p.x < w.TopMax) w.TopNext = p.x;
    }
}

int NearestByScan(const OutlineWalk& walk, PixelPoint P, const std::vector<char>& used)
{
    double best = kFarthest;
    int chosen = -1;
    for (std::size_t q = 0; q < walk.candidates.size(); ++q) {
        if (used[q]) continue;
        const PixelPoint Q = walk.candidates[q];
        const double D = walk.distance(P, Q);
        if (D <= best && Q.x >= P.x) {
            best = D;
            chosen = static_cast<int>(q);
        }
    }
    return chosen;
}

PixelPolygon CloseWithMirror(PixelPoint S, const std::vector<PixelPoint>& walked, int PlotCentre)
{
    PixelPolygon outline;
    outline.reserve(2 * walked.size() + 1);
    outline.push_back(S);
    outline.insert(outline.end(), walked.begin(), walked.end());
    for (auto it = walked.rbegin(); it != walked.rend(); ++it) outline.push_back({it->x, 2 * PlotCentre - it->y});
    return outline;
}

}  // namespace kavrin
