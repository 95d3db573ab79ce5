// Tick labels are drawn with the number texts' separator, whatever the axis's label format.
#include "gui/ChartNumbers.h"

#include "../app/ChartLabels.h"

#include <QChartView>
#include <QLineSeries>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace kavrin::test {

TEST(ChartNumbers, TicksAreDrawnWithTheChosenSeparator)
{
    for (const char* format : {"", "%.6g"}) {
        for (const char separator : {'.', ','}) {
            QChartView view;
            auto* series = new QLineSeries;
            series->append(0, 0);
            series->append(1, 2500);
            view.chart()->addSeries(series);
            view.chart()->createDefaultAxes();
            for (QAbstractAxis* axis : view.chart()->axes()) {
                auto* value = static_cast<QValueAxis*>(axis);
                if (*format) value->setLabelFormat(format);
                value->setTickCount(5);
            }
            WriteTicksAsNumberTexts(view.chart(), separator);
            const QStringList shown = ShownChartTexts(&view);
            const std::string context = std::string(format) + " " + separator + ": " + shown.join(" | ").toStdString();
            EXPECT_TRUE(shown.contains(separator == ',' ? "0,25" : "0.25") ||
                        shown.contains(separator == ',' ? "0,250" : "0.250") || shown.contains(separator == ',' ? "0,3" : "0.3"))
                << context;
            EXPECT_FALSE(shown.join(" ").contains(separator == ',' ? "0." : "0,")) << context;
            EXPECT_FALSE(shown.join(" ").contains("2.500") || shown.join(" ").contains("2,500"))
                << context << " no group separator";
        }
    }
}

}  // namespace kavrin::test
