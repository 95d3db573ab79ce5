// The value axis on round ticks: the labels it shows for ranges of any size.
#include "gui/RoundAxis.h"

#include "../app/ChartLabels.h"
#include "gui/ChartNumbers.h"

#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace kavrin::test {

namespace {

// The labels of the vertical axis on [low, high], as a chart of 400 × 230 shows them.
QStringList verticalLabels(double low, double high, char separator)
{
    QChartView view;
    auto* series = new QLineSeries;
    series->append(0, low);
    series->append(1, high);
    view.chart()->addSeries(series);
    view.chart()->createDefaultAxes();
    view.chart()->legend()->hide();
    for (QAbstractAxis* axis : view.chart()->axes()) {
        auto* value = static_cast<QValueAxis*>(axis);
        value->setLabelFormat("%.6g");
        if (axis->orientation() == Qt::Horizontal)
            value->setLabelsVisible(false);
        else
            SetRoundAxis(value, low, high);
    }
    WriteTicksAsNumberTexts(view.chart(), separator);
    view.resize(400, 230);
    QStringList shown = ShownChartTexts(&view);
    shown.sort();
    return shown;
}

}  // namespace

TEST(RoundAxis, EveryRangeGetsDistinctRoundLabelsAndZeroReadsZero)
{
    struct Case {
        double low, high;
        char separator;
        QStringList labels;  // top to bottom
    };
    const Case cases[] = {
        // A fit to exact data: residuals of rounding only.
        {-3.9e-16, 4.4e-16, ',', {"6E-11", "4E-11", "2E-11", "0", "-2E-11", "-4E-11", "-6E-11"}},
        {0, 1e-10, '.', {"1e-10", "8e-11", "6e-11", "4e-11", "2e-11", "0"}},
        {0.1, 0.100001, ',', {"0,100001", "0,1000008", "0,1000006", "0,1000004", "0,1000002", "0,1"}},
        {1000, 1000 + 1e-9, '.', {"1000.0000004", "1000.0000002", "1000", "999.9999998", "999.9999996", "999.9999994"}},
        {123456789, 123456790, '.', {"123456790", "123456789.8", "123456789.6", "123456789.4", "123456789.2", "123456789"}},
        {5, 5, ',', {"5,6", "5,4", "5,2", "5", "4,8", "4,6", "4,4"}},
        {0, 0, '.', {"1", "0.5", "0", "-0.5", "-1"}},
        {-0.002, 0.001, ',', {"0,001", "0,0005", "0", "-0,0005", "-0,001", "-0,0015", "-0,002"}},
        {-0.58, 0.61, '.', {"0.8", "0.6", "0.4", "0.2", "0", "-0.2", "-0.4", "-0.6"}},
        {0, 2500, '.', {"2500", "2000", "1500", "1000", "500", "0"}},
        {-1.5e7, 3e7, ',', {"3E+07", "2E+07", "1E+07", "0", "-1E+07", "-2E+07"}},
    };
    for (const Case& c : cases) {
        QStringList expected = c.labels;
        expected.sort();
        EXPECT_EQ(verticalLabels(c.low, c.high, c.separator).join(" "), expected.join(" ")) << c.low << " to " << c.high;
    }
}

}  // namespace kavrin::test
