#include "uncertainty/ReceptorBandChart.h"

#include "gui/ChartNumbers.h"
#include "gui/ChartView.h"
#include "text/NumberText.h"

#include <QLineSeries>
#include <QPen>
#include <algorithm>

namespace kavrin {

namespace {

QLineSeries* series(const char* name, const QColor& colour, Qt::PenStyle style, qreal width)
{
    auto* line = new QLineSeries;
    line->setObjectName(name);
    QPen pen(colour);
    pen.setStyle(style);
    pen.setWidthF(width);
    line->setPen(pen);
    line->setPointsVisible(true);  // one chosen time is a point, not a line
    return line;
}

QString number(double value, char separator)
{
    return QString::fromStdString(FormatGeneral(value, separator));
}

}  // namespace

QChartView* MakeReceptorBandChart()
{
    QChartView* view = MakeChartView("ReceptorBandChart", QString(), QString(),
                                     {series("P95Series", QColor(0, 90, 200), Qt::DashLine, 1.5),
                                      series("P50Series", QColor(0, 0, 0), Qt::SolidLine, 2),
                                      series("P05Series", QColor(0, 90, 200), Qt::DashLine, 1.5),
                                      series("StandardSeries", QColor(200, 0, 0), Qt::SolidLine, 1.5)});
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    return view;
}

void ShowReceptorBands(QChartView* view, const std::vector<double>& times, const std::vector<ReceptorTimeSummary>& summaries,
                       double standard, const ReceptorBandTexts& texts, char separator)
{
    QChart* chart = view->chart();
    const auto line = [chart](const char* name) {
        for (QAbstractSeries* s : chart->series())
            if (s->objectName() == name) return static_cast<QLineSeries*>(s);
        return static_cast<QLineSeries*>(nullptr);
    };
    QLineSeries *p95 = line("P95Series"), *p50 = line("P50Series"), *p05 = line("P05Series"), *limit = line("StandardSeries");
    p95->setName(texts.p95);
    p50->setName(texts.p50);
    p05->setName(texts.p05);
    limit->setName(texts.standard);
    QList<QPointF> low, middle, high;
    double top = standard;
    for (std::size_t t = 0; t < times.size() && t < summaries.size(); ++t) {
        low << QPointF(times[t], summaries[t].p05);
        middle << QPointF(times[t], summaries[t].p50);
        high << QPointF(times[t], summaries[t].p95);
        top = std::max(top, summaries[t].p95);
    }
    p05->replace(low);
    p50->replace(middle);
    p95->replace(high);
    const double first = times.empty() ? 0 : times.front();
    const double last = times.empty() ? 1 : times.back();
    const double end = last > first ? last : first + 1;
    limit->replace({QPointF(first, standard), QPointF(end, standard)});

    auto* timeAxis = static_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
    auto* valueAxis = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
    timeAxis->setTitleText(texts.timeAxis);
    valueAxis->setTitleText(texts.concentrationAxis);
    timeAxis->setRange(first, end);
    timeAxis->setLabelFormat("%.6g");
    valueAxis->setRange(0, top > 0 ? top * 1.05 : 1);
    valueAxis->setLabelFormat("%.6g");
    valueAxis->applyNiceNumbers();
    WriteTicksAsNumberTexts(chart, separator);
}

QString ReceptorBandColumns(const std::vector<double>& times, const std::vector<ReceptorTimeSummary>& summaries,
                            const ReceptorBandTexts& texts, char separator)
{
    QString text = texts.timeAxis + '\t' + texts.p05 + '\t' + texts.p50 + '\t' + texts.p95 + '\t' + texts.exceededByNow + "\r\n";
    for (std::size_t t = 0; t < times.size() && t < summaries.size(); ++t) {
        const ReceptorTimeSummary& s = summaries[t];
        text += number(times[t], separator) + '\t' + number(s.p05, separator) + '\t' + number(s.p50, separator) + '\t' +
                number(s.p95, separator) + '\t' + number(s.exceededByNow, separator) + "\r\n";
    }
    return text;
}

}  // namespace kavrin
