// A second line under a chart's title that says what the chart shows (where
// and when), drawn in the chart itself so that a saved picture carries it.
#pragma once

#include <QChart>
#include <QString>

namespace kavrin {

// Shows `text` centred right under the title, above the plot area; an empty text removes the line.
void SetChartDetailLine(QChart* chart, const QString& text);

// The text of the line, empty when there is none.
QString ChartDetailLine(const QChart* chart);

}  // namespace kavrin
