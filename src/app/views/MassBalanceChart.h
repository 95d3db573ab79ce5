// The charts window's mass-balance chart: the mass present (dissolved +
// sorbed) and the mass decayed in mg on the left axis, the mass discharge
// across the control plane and the grid's edge in mg/day on the right, over
// the run's times.
#pragma once

#include "charts/CurveTable.h"
#include "solution/MassBalance.h"

#include <QString>
#include <optional>
#include <vector>

class QChartView;

namespace kavrin {

struct MassBalanceTexts {
    QString title, timeAxis, massAxis, dischargeAxis, present, decayed;
    QString dischargeControl, dischargeEdge;  // %1: the plane's X
    QString detail;                           // %1, %2: the first and last time
};

struct MassBalancePlot {
    std::vector<MassBalanceRow> rows;
    std::optional<double> controlPlaneX;  // no control-plane series without one
    double edgeX = 0;
};

// An empty chart view named "MassBalanceChart" with its two value axes.
QChartView* MakeMassBalanceView();

// Shows `plot` with `texts`, numbers (ticks, positions, times) written with `separator`.
void ShowMassBalance(QChartView* view, const MassBalancePlot& plot, const MassBalanceTexts& texts, char separator);

// The shown values as one table: the time and each series under its name.
CurveTable MassBalanceTable(const QChartView* view);

}  // namespace kavrin
