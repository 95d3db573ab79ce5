// The charts of the program: a white two-dimensional chart with a value axis
// below and one on the left, shown in a named view.
#pragma once

#include <QChart>
#include <QChartView>
#include <QValueAxis>
#include <QXYSeries>
#include <initializer_list>

namespace kavrin {

inline QChartView* MakeChartView(const char* name, const QString& bottomTitle, const QString& leftTitle,
                                 std::initializer_list<QXYSeries*> series)
{
    auto* chart = new QChart;
    chart->setBackgroundBrush(Qt::white);
    auto* xAxis = new QValueAxis;
    xAxis->setTitleText(bottomTitle);
    auto* yAxis = new QValueAxis;
    yAxis->setTitleText(leftTitle);
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);
    for (QXYSeries* s : series) {
        chart->addSeries(s);
        s->attachAxis(xAxis);
        s->attachAxis(yAxis);
    }
    auto* view = new QChartView(chart);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

}  // namespace kavrin
