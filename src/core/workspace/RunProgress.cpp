#include "workspace/RunProgress.h"

#include <cmath>

namespace kavrin {

int ProgressPosition(const RunProgress& progress)
{
    if (progress.PointsTotal == 0) return 0;
    return static_cast<int>(
        std::nearbyint(100.0 * static_cast<double>(progress.PointsDone) / static_cast<double>(progress.PointsTotal)));
}

}  // namespace kavrin
