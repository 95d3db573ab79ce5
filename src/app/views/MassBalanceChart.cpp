#include "views/MassBalanceChart.h"

#include "gui/ChartDetailLine.h"
#include "gui/ChartNumbers.h"
#include "model/RunTimes.h"
#include "text/NumberText.h"

#include <QChart>
#include <QChartView>
#include <QLegend>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

QString number(double value, char separator)
{
    return QString::fromStdString(FormatGeneral(value, separator));
}

QValueAxis* axisAt(const QChart* chart, Qt::Alignment side)
{
    for (QAbstractAxis* axis : chart->axes())
        if (axis->alignment() == side) return qobject_cast<QValueAxis*>(axis);
    return nullptr;
}

// Round ticks from zero (or below, for a negative value) up to the largest value.
void fitAxis(QValueAxis* axis, const std::vector<double>& values)
{
    double low = 0, high = 0;
    for (double v : values)
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    if (!(high > low)) high = low + 1;
    axis->setRange(low, high);
    axis->setLabelFormat("%.6g");
    axis->applyNiceNumbers();
}

}  // namespace

QChartView* MakeMassBalanceView()
{
    auto* chart = new QChart;
    chart->setBackgroundBrush(Qt::white);
    chart->addAxis(new QValueAxis, Qt::AlignBottom);
    chart->addAxis(new QValueAxis, Qt::AlignLeft);
    chart->addAxis(new QValueAxis, Qt::AlignRight);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart);
    view->setObjectName("MassBalanceChart");
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

void ShowMassBalance(QChartView* view, const MassBalancePlot& plot, const MassBalanceTexts& texts, char separator)
{
    QChart* chart = view->chart();
    chart->removeAllSeries();
    WriteTicksAsNumberTexts(chart, separator);
    chart->setTitle(texts.title);
    QValueAxis* time = axisAt(chart, Qt::AlignBottom);
    QValueAxis* mass = axisAt(chart, Qt::AlignLeft);
    QValueAxis* discharge = axisAt(chart, Qt::AlignRight);
    time->setTitleText(texts.timeAxis);
    mass->setTitleText(texts.massAxis);
    discharge->setTitleText(texts.dischargeAxis);

    struct Line {
        const char* name;
        QString title;
        double MassBalanceRow::*value;
        QValueAxis* axis;
        Qt::PenStyle style;
    };
    std::vector<Line> lines = {{"PresentSeries", texts.present, nullptr, mass, Qt::SolidLine},
                               {"DecayedSeries", texts.decayed, &MassBalanceRow::decayed, mass, Qt::SolidLine}};
    if (plot.controlPlaneX)
        lines.push_back({"ControlDischargeSeries", texts.dischargeControl.arg(number(*plot.controlPlaneX, separator)),
                         &MassBalanceRow::dischargeControl, discharge, Qt::DashLine});
    lines.push_back({"EdgeDischargeSeries", texts.dischargeEdge.arg(number(plot.edgeX, separator)),
                     &MassBalanceRow::dischargeEdge, discharge, Qt::DashLine});
    std::vector<double> masses, discharges;
    for (const Line& line : lines) {
        auto* series = new QLineSeries;
        series->setObjectName(line.name);
        series->setName(line.title);
        QList<QPointF> points;
        for (const MassBalanceRow& row : plot.rows) {
            const double value = line.value ? row.*line.value : row.dissolved + row.sorbed;
            points << QPointF(row.time, value);
            (line.axis == mass ? masses : discharges).push_back(value);
        }
        series->replace(points);
        chart->addSeries(series);
        QPen pen = series->pen();
        pen.setStyle(line.style);
        pen.setWidthF(2);
        series->setPen(pen);
        series->attachAxis(time);
        series->attachAxis(line.axis);
    }
    const double first = plot.rows.empty() ? 0 : plot.rows.front().time;
    const double last = plot.rows.empty() ? 0 : plot.rows.back().time;
    time->setRange(first, last > first ? last : first + 1);
    time->setLabelFormat("%.6g");
    fitAxis(mass, masses);
    fitAxis(discharge, discharges);
    SetChartDetailLine(chart, plot.rows.empty() ? QString()
                                                : texts.detail.arg(QString::fromStdString(TimeText(first, separator)),
                                                                   QString::fromStdString(TimeText(last, separator))));
}

CurveTable MassBalanceTable(const QChartView* view)
{
    const QValueAxis* time = axisAt(view->chart(), Qt::AlignBottom);
    std::vector<NamedCurve> curves;
    for (const QAbstractSeries* s : view->chart()->series()) {
        NamedCurve curve{s->name().toStdString(), {}};
        for (const QPointF& p : static_cast<const QLineSeries*>(s)->points()) curve.points.push_back({p.x(), p.y()});
        curves.push_back(std::move(curve));
    }
    return TableOfCurves(time ? time->titleText().toStdString() : std::string(), curves);
}

}  // namespace kavrin
