// A chart's second line reads under its title and above the plot, through
// every new layout, and the title goes back to its place without it.
#include "gui/ChartDetailLine.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <gtest/gtest.h>

#include <functional>

namespace kavrin::test {

namespace {

struct Shown {
    QRectF title;
    QRectF line;
    QRectF plot;
};

Shown shown(QChartView& view)
{
    QApplication::processEvents();
    QApplication::processEvents();
    Shown s;
    for (QGraphicsItem* item : view.chart()->childItems()) {
        if (dynamic_cast<QGraphicsTextItem*>(item)) s.title = item->sceneBoundingRect();
        if (dynamic_cast<QGraphicsSimpleTextItem*>(item) && item->isVisible()) s.line = item->sceneBoundingRect();
    }
    s.plot = view.chart()->plotArea();
    return s;
}

}  // namespace

TEST(ChartDetailLine, TheLineReadsUnderTheTitleThroughResizesAndNewTitles)
{
    QChartView view;
    auto* series = new QLineSeries;
    series->append(0, 0);
    series->append(1, 1);
    view.chart()->addSeries(series);
    view.chart()->createDefaultAxes();
    view.chart()->legend()->hide();
    view.chart()->setTitle("Concentration x Time");
    view.resize(600, 300);
    view.show();
    const Shown before = shown(view);

    SetChartDetailLine(view.chart(), "At node X = 40 m, Y = 0 m");
    for (const auto& change : {std::function<void()>([] {}), std::function<void()>([&] { view.resize(500, 280); }),
                               std::function<void()>([&] { view.chart()->setTitle("Longitudinal profile"); })}) {
        change();
        const Shown s = shown(view);
        ASSERT_FALSE(s.line.isEmpty());
        EXPECT_LE(s.title.center().y(), s.line.top());
        EXPECT_LE(s.line.bottom(), s.plot.top());
        EXPECT_NEAR(s.line.center().x(), s.plot.center().x(), s.plot.width() / 4);
    }
    EXPECT_EQ(ChartDetailLine(view.chart()), "At node X = 40 m, Y = 0 m");

    view.resize(600, 300);
    SetChartDetailLine(view.chart(), QString());
    const Shown after = shown(view);
    EXPECT_TRUE(after.line.isEmpty());
    EXPECT_TRUE(ChartDetailLine(view.chart()).isEmpty());
    EXPECT_EQ(after.plot, before.plot);
    EXPECT_NEAR(after.title.bottom(), before.title.bottom(), 0.5);
}

}  // namespace kavrin::test
