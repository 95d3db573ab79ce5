// A second line under a chart's title that says what the chart shows (where
// and when), drawn in the chart itself so that a saved picture carries it;
// and the decimal separator of the chart's tick labels.
#pragma once

#include <QChart>
#include <QString>

namespace kavrin {

// Shows `text` centred under the title; an empty text removes the line.
void SetChartDetailLine(QChart* chart, const QString& text);

// The text of the line, empty when there is none.
QString ChartDetailLine(const QChart* chart);

// Tick labels with `separator` ('.' or ',') as the decimal separator, no group separators.
void SetChartDecimalSeparator(QChart* chart, char separator);

}  // namespace kavrin
