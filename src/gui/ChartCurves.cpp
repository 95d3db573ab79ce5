#include "gui/ChartCurves.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

QValueAxis* valueAxis(const QChart* chart, Qt::Orientation orientation)
{
    const QList<QAbstractAxis*> axes = chart->axes(orientation);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis*>(axes.first());
}

bool onLogarithmicAxis(const QPointF& p)
{
    return p.y() > 0 && std::isfinite(p.y());
}

// The span of an axis: one value is widened to a span around it.
void setSpan(QValueAxis* axis, double from, double to, bool nice)
{
    if (!(to > from)) to = from + (from == 0 ? 1 : std::abs(from) * 0.1);
    axis->setRange(from, to);
    axis->setLabelFormat("%.6g");
    if (nice) axis->applyNiceNumbers();
}

}  // namespace

ChartCurves::ChartCurves(QChart* chart, QLineSeries* own)
    : chart_(chart), own_(own), ownPen_(own->pen()), bottom_(valueAxis(chart, Qt::Horizontal)),
      linear_(valueAxis(chart, Qt::Vertical)), logarithmic_(new QLogValueAxis(chart))
{
    logarithmic_->setBase(10);
    logarithmic_->setLabelFormat("%.6g");
    logarithmic_->setMinorTickCount(-1);
}

QPen ChartCurves::CurvePen(std::size_t place)
{
    static const QColor colours[] = {QColor(0x00, 0x72, 0xB2), QColor(0xD5, 0x5E, 0x00), QColor(0x00, 0x9E, 0x73),
                                     QColor(0x88, 0x22, 0x55), QColor(0xE6, 0x9F, 0x00), QColor(0x33, 0x22, 0x88)};
    static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DashDotLine, Qt::DotLine};
    constexpr std::size_t kColours = std::size(colours);
    QPen pen(colours[place % kColours], 2);
    pen.setStyle(styles[(place / kColours) % std::size(styles)]);
    return pen;
}

void ChartCurves::removeAdded()
{
    for (QLineSeries* series : added_) {
        chart_->removeSeries(series);
        delete series;
    }
    added_.clear();
}

void ChartCurves::useAxis(bool logarithmic)
{
    // The logarithmic axis joins the chart when first asked for; from then on
    // the two take turns, each keeping its title (the language file sets both).
    if (logarithmic && !chart_->axes(Qt::Vertical).contains(logarithmic_)) {
        logarithmic_->setTitleText(linear_->titleText());
        chart_->addAxis(logarithmic_, Qt::AlignLeft);
    }
    linear_->setVisible(!logarithmic);
    logarithmic_->setVisible(logarithmic);
}

QLineSeries* ChartCurves::addSeries(const QString& name, const QList<QPointF>& points, const QPen& pen, bool inLegend)
{
    auto* series = new QLineSeries;
    series->setObjectName("ChartCurve");
    series->setName(inLegend ? name : QString());
    series->replace(points);
    chart_->addSeries(series);
    series->attachAxis(bottom_);
    series->attachAxis(linear_->isVisible() ? static_cast<QAbstractAxis*>(linear_) : logarithmic_);
    series->setPen(pen);
    if (!inLegend)
        for (QLegendMarker* marker : chart_->legend()->markers(series)) marker->setVisible(false);
    added_.push_back(series);
    return series;
}

int ChartCurves::addCurve(const QString& name, const QList<QPointF>& points, const QPen& pen, bool logarithmic)
{
    if (!logarithmic) {
        addSeries(name, points, pen, true);
        return 0;
    }
    int leftOut = 0;
    bool named = false;
    QList<QPointF> piece;
    const auto drawPiece = [&] {
        if (piece.isEmpty()) return;
        // A lone value between two left out is drawn as a point.
        addSeries(name, piece, pen, !named)->setPointsVisible(piece.size() == 1);
        named = true;
        piece.clear();
    };
    for (const QPointF& p : points) {
        if (onLogarithmicAxis(p)) {
            piece << p;
        } else {
            ++leftOut;
            drawPiece();
        }
    }
    drawPiece();
    if (!named) addSeries(name, {}, pen, true);  // nothing to draw, still named in the legend
    return leftOut;
}

void ChartCurves::fitAxes(const std::vector<QList<QPointF>>& curves, const CurveDecorations& decorations)
{
    double left = 0, right = 0, low = 0, high = 0;
    double smallest = 0, largest = 0;  // above zero, for the logarithmic axis
    bool any = false, anyPositive = false;
    for (const QList<QPointF>& points : curves)
        for (const QPointF& p : points) {
            left = any ? std::min(left, p.x()) : p.x();
            right = any ? std::max(right, p.x()) : p.x();
            low = any ? std::min(low, p.y()) : p.y();
            high = any ? std::max(high, p.y()) : p.y();
            any = true;
            if (!onLogarithmicAxis(p)) continue;
            smallest = anyPositive ? std::min(smallest, p.y()) : p.y();
            largest = anyPositive ? std::max(largest, p.y()) : p.y();
            anyPositive = true;
        }
    if (!any) return;
    if (decorations.standard) {
        high = std::max(high, *decorations.standard);
        smallest = anyPositive ? std::min(smallest, *decorations.standard) : *decorations.standard;
        largest = anyPositive ? std::max(largest, *decorations.standard) : *decorations.standard;
        anyPositive = true;
    }
    // The positions span the whole bottom axis; the concentrations get round ticks from zero.
    setSpan(bottom_, left, right, false);
    if (!decorations.logarithmic) {
        setSpan(linear_, std::min(0.0, low), high, true);
        return;
    }
    const int top = anyPositive ? static_cast<int>(std::ceil(std::log10(largest))) : 0;
    int bottom = anyPositive ? static_cast<int>(std::floor(std::log10(smallest))) : -1;
    bottom = std::clamp(bottom, top - kLogarithmicDecades, top - 1);
    logarithmic_->setRange(std::pow(10.0, bottom), std::pow(10.0, top));
}

int ChartCurves::show(const std::vector<ShownCurve>& held, const QString& ownName, const CurveDecorations& decorations,
                      bool refitAxes)
{
    removeAdded();
    const bool ownDrawsItself = held.empty() && !decorations.logarithmic;
    const bool ownInChart = chart_->series().contains(own_);
    if (!ownDrawsItself && ownInChart) {
        chart_->removeSeries(own_);
        own_->setParent(chart_);
    }
    useAxis(decorations.logarithmic);
    if (ownDrawsItself && !ownInChart) {
        chart_->addSeries(own_);
        own_->attachAxis(bottom_);
        own_->attachAxis(linear_);
    }

    const QList<QPointF> ownPoints = own_->points();
    std::vector<QList<QPointF>> curves;
    for (const ShownCurve& curve : held) curves.push_back(curve.points);
    curves.push_back(ownPoints);
    const bool anyPoints = std::any_of(curves.begin(), curves.end(), [](const auto& points) { return !points.isEmpty(); });
    const bool standardShown = decorations.standard && anyPoints;

    int leftOut = 0;
    for (std::size_t k = 0; k < held.size(); ++k)
        leftOut += addCurve(held[k].name, held[k].points, CurvePen(k), decorations.logarithmic);
    if (!ownDrawsItself && !ownPoints.isEmpty())
        leftOut += addCurve(ownName, ownPoints, held.empty() ? ownPen_ : CurvePen(held.size()), decorations.logarithmic);
    own_->setName(ownDrawsItself && standardShown ? ownName : QString());

    CurveDecorations shown = decorations;
    if (!standardShown) shown.standard.reset();
    Fitted inputs{std::move(curves), shown.logarithmic, shown.standard};
    if (refitAxes || fitted_ != inputs) fitAxes(inputs.curves, shown);
    fitted_ = std::move(inputs);
    // Added once the axes have their span, which a series attached then keeps.
    if (standardShown) {
        const double s = *decorations.standard;
        addSeries(decorations.standardName, {QPointF(bottom_->min(), s), QPointF(bottom_->max(), s)},
                  QPen(Qt::black, 2, Qt::DashLine), true)
            ->setObjectName("StandardLine");
    }
    const bool legend = !held.empty() || standardShown;
    // Beside the plot, where the names are read whole.
    if (legend) chart_->legend()->setAlignment(Qt::AlignRight);
    chart_->legend()->setVisible(legend);
    return leftOut;
}

}  // namespace kavrin
