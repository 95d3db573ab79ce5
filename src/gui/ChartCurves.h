// A chart that shows more than its own series: curves held from earlier
// drawings, each in a colour of its own with a legend entry, a logarithmic
// concentration axis, and the standard as a horizontal line. With none of
// them the chart is left exactly as its own series draws it.
#pragma once

#include <QList>
#include <QPen>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

class QChart;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace kavrin {

struct ShownCurve {
    QString name;  // its legend entry
    QList<QPointF> points;
};

struct CurveDecorations {
    bool logarithmic = false;
    std::optional<double> standard;  // mg/L, above zero: a horizontal line
    QString standardName;            // the line's legend entry
};

class ChartCurves {
public:
    // The logarithmic axis spans whole decades, at most this many below its top.
    static constexpr int kLogarithmicDecades = 10;

    // `own` is the chart's series, attached to its bottom and left value axes.
    // The logarithmic axis is one more left axis, shown in the value axis's place.
    ChartCurves(QChart* chart, QLineSeries* own);

    // Shows the `held` curves and the own series (legend entry `ownName`).
    // Without held curves and on the linear axis the own series draws itself
    // in its own colour; otherwise every curve is drawn in the colour of its
    // place, the own series last, and the own series itself leaves the chart
    // (keeping its points). On the logarithmic axis a curve is drawn in
    // pieces between its values of zero or below, which have no place on it.
    // The axes span every curve and the standard; they are fitted again when
    // `refitAxes` or when the curves or decorations differ from the last
    // fitted (a value axis's round ticks depend on the ticks it had, so
    // fitting the same curves twice may not give the same picture). Returns
    // how many values the logarithmic axis left out.
    int show(const std::vector<ShownCurve>& held, const QString& ownName, const CurveDecorations& decorations, bool refitAxes);

    // The pen of the curve at `place` when several are shown: dark colours
    // that stay apart on white and in print, then the same with dashes.
    static QPen CurvePen(std::size_t place);

private:
    void removeAdded();
    void useAxis(bool logarithmic);
    QLineSeries* addSeries(const QString& name, const QList<QPointF>& points, const QPen& pen, bool inLegend);
    int addCurve(const QString& name, const QList<QPointF>& points, const QPen& pen, bool logarithmic);
    void fitAxes(const std::vector<QList<QPointF>>& curves, const CurveDecorations& decorations);

    QChart* chart_;
    QLineSeries* own_;
    QPen ownPen_;
    QValueAxis* bottom_;
    QValueAxis* linear_;
    QLogValueAxis* logarithmic_;
    std::vector<QLineSeries*> added_;
    struct Fitted {
        std::vector<QList<QPointF>> curves;
        bool logarithmic = false;
        std::optional<double> standard;
        friend bool operator==(const Fitted&, const Fitted&) = default;
    };
    std::optional<Fitted> fitted_;
};

}  // namespace kavrin
