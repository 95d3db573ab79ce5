#include "model/RunChecks.h"

#include "model/RunTimes.h"
#include "model/Variaveis.h"

#include <algorithm>

namespace kavrin {

namespace {
constexpr double kMaximumCells = 450;

// The source's extent across the flow: from its zones' lowest edge to their highest.
double SourceExtentY(const ModelState& m)
{
    double low = m.source.firstZoneY - m.SourceWidth / 2, high = m.source.firstZoneY + m.SourceWidth / 2;
    for (const SourceZone& zone : m.source.moreZones) {
        low = std::min(low, zone.y - zone.width / 2);
        high = std::max(high, zone.y + zone.width / 2);
    }
    return high - low;
}
}  // namespace

std::optional<RunRefusal> CheckGrid(const ModelState& m)
{
    // A range with a step that never moves along it has no grid: rows of no values.
    if (m.X1 > m.X0 && !(m.DX > 0)) return RunRefusal::XStepNotPositive;
    if (m.Y1 > m.Y0 && !(m.DY > 0)) return RunRefusal::YStepNotPositive;
    if (CellCount(m.Y0, m.Y1, m.DY) > kMaximumCells) return RunRefusal::GridTooLargeY;
    if (CellCount(m.X0, m.X1, m.DX) > kMaximumCells) return RunRefusal::GridTooLargeX;
    if (m.X1 - m.X0 < m.Y1 - m.Y0) return RunRefusal::YRangeExceedsX;
    if (m.Y1 - m.Y0 <= SourceExtentY(m)) return RunRefusal::YRangeNotAboveSourceWidth;
    return std::nullopt;
}

std::optional<RunRefusal> CheckTimeSeries(const ModelState& m)
{
    if (!(m.T0 <= m.T1)) return RunRefusal::TimeRangeEmpty;
    if (!(m.DT > 0)) return RunRefusal::TimeStepNotPositive;
    if (!TimeSeriesIsBounded(m.T0, m.T1, m.DT)) return RunRefusal::TooManyTimes;
    return std::nullopt;
}

std::optional<RunRefusal> CheckRun(const ModelState& model)
{
    if (auto refusal = CheckGrid(model)) return refusal;
    return CheckTimeSeries(model);
}

const char* EnglishRefusalText(RunRefusal refusal)
{
    switch (refusal) {
    case RunRefusal::XStepNotPositive:
        return "The grid step DX must be greater than zero when X1 lies beyond X0. Enter a positive DX.";
    case RunRefusal::YStepNotPositive:
        return "The grid step DY must be greater than zero when Y1 lies beyond Y0. Enter a positive DY.";
    case RunRefusal::GridTooLargeY:
        return "The Y range holds more than 450 intervals of DY. Reduce the Y range or enlarge DY.";
    case RunRefusal::GridTooLargeX:
        return "The X range holds more than 450 intervals of DX. Reduce the X range or enlarge DX.";
    case RunRefusal::YRangeExceedsX:
        return "The Y range is longer than the X range. The X range must be at least as long as the Y range.";
    case RunRefusal::YRangeNotAboveSourceWidth:
        return "The Y range must be longer than the source width in Y. Enlarge the Y range.";
    case RunRefusal::TimeRangeEmpty:
        return "The final time T1 is earlier than the initial time T0: there is no time to compute. Enter a T1 not earlier than "
               "T0.";
    case RunRefusal::TimeStepNotPositive:
        return "The time step DT must be greater than zero. Enter a positive DT.";
    case RunRefusal::TooManyTimes:
        return "The time step DT is too small for the time range: the run would write more than 1000000 time files. Enlarge DT.";
    }
    return "";
}

const char* PortugueseRefusalText(RunRefusal refusal)
{
    switch (refusal) {
    case RunRefusal::XStepNotPositive:
        return "O passo DX da malha deve ser maior que zero quando X1 está além de X0. Digite um DX positivo.";
    case RunRefusal::YStepNotPositive:
        return "O passo DY da malha deve ser maior que zero quando Y1 está além de Y0. Digite um DY positivo.";
    default:
        return nullptr;
    }
}

}  // namespace kavrin
