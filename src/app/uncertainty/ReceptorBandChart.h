// A receptor's bands over time: its 5th, 50th and 95th percentiles at each
// chosen time, and the standard as a line; its values as copied columns.
#pragma once

#include "uncertainty/ReceptorStatistics.h"

#include <QString>
#include <vector>

class QChartView;

namespace kavrin {

struct ReceptorBandTexts {
    QString timeAxis, concentrationAxis;
    QString p05, p50, p95, standard;  // the series' names
    QString exceededByNow;            // the copied column of P(C > standard by t)
};

// An empty chart with the four series, named "P05Series", "P50Series",
// "P95Series" and "StandardSeries".
QChartView* MakeReceptorBandChart();

// Shows the summaries at `times` (days) and the standard.
void ShowReceptorBands(QChartView* view, const std::vector<double>& times, const std::vector<ReceptorTimeSummary>& summaries,
                       double standard, const ReceptorBandTexts& texts, char separator);

// Time, the three percentiles and the probability of exceeding the standard
// by each time, tab-separated, a heading line first, lines ending "\r\n".
QString ReceptorBandColumns(const std::vector<double>& times, const std::vector<ReceptorTimeSummary>& summaries,
                            const ReceptorBandTexts& texts, char separator);

}  // namespace kavrin
