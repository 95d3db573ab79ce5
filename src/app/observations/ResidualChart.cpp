#include "observations/ResidualChart.h"

#include "calibration/DistanceFromSource.h"
#include "gui/ChartNumbers.h"
#include "gui/ChartView.h"
#include "gui/NamedWidget.h"
#include "gui/RoundAxis.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {
constexpr double kRoundingResidual = 1e-9;
// Of each axis's range, beyond its ends: the points there are drawn whole.
constexpr double kEndMargin = 0.05;
}  // namespace

ResidualChart::ResidualChart(AppState& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("ResidualChart");
    auto* points = new QScatterSeries;
    points->setObjectName("ResidualPoints");
    points->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    points->setMarkerSize(7);
    points->setColor(Qt::blue);
    auto* zero = new QLineSeries;
    zero->setObjectName("ResidualZero");
    zero->setPen(QPen(Qt::red, 1.5));
    ChartResiduals = MakeChartView("ChartResiduals", QString(), QString(), {zero, points});
    ChartResiduals->chart()->legend()->hide();
    for (QAbstractAxis* axis : ChartResiduals->chart()->axes()) static_cast<QValueAxis*>(axis)->setLabelFormat("%.6g");
    ChartResiduals->setMinimumSize(400, 230);
    ComboBoxAbscissa = new QComboBox(this);
    ComboBoxAbscissa->setObjectName("ComboBoxAbscissa");
    ComboBoxAbscissa->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    label_ = NamedWidget<QLabel>(this, "ResidualsAgainstLabel", QString());
    auto* choice = new QHBoxLayout;
    choice->addWidget(label_);
    choice->addWidget(ComboBoxAbscissa);
    choice->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(choice);
    layout->addWidget(ChartResiduals, 1);
    showTexts();
    connect(ComboBoxAbscissa, &QComboBox::currentIndexChanged, this, &ResidualChart::draw);
}

void ResidualChart::showTexts()
{
    label_->setText(app_.text(AddedText::FitResidualsAgainst));
    const int chosen = std::max(ComboBoxAbscissa->currentIndex(), 0);
    const QSignalBlocker quiet(ComboBoxAbscissa);
    ComboBoxAbscissa->clear();
    ComboBoxAbscissa->addItems(app_.text(AddedText::FitResidualAbscissas).split('|'));
    ComboBoxAbscissa->setCurrentIndex(chosen);
    draw();
}

void ResidualChart::showResiduals(const std::vector<Observation>& observations, const FitResult& result)
{
    clear();
    for (std::size_t i = 0; i < observations.size() && i < result.residualsAfter.size(); ++i) {
        times_.push_back(observations[i].T);
        distances_.push_back(DistanceFromSource(observations[i], result.model));
        calculated_.push_back(result.calculatedAfter[i]);
        residuals_.push_back(result.residualsAfter[i]);
    }
    draw();
}

void ResidualChart::clear()
{
    times_.clear();
    distances_.clear();
    calculated_.clear();
    residuals_.clear();
    draw();
}

void ResidualChart::draw()
{
    QChart* chart = ChartResiduals->chart();
    const std::vector<double>* abscissas[] = {&times_, &distances_, &calculated_};
    const std::vector<double>& x = *abscissas[std::clamp(ComboBoxAbscissa->currentIndex(), 0, 2)];
    QList<QPointF> points;
    for (std::size_t i = 0; i < x.size(); ++i) points.append(QPointF(x[i], residuals_[i]));
    const auto [xLow, xHigh] =
        x.empty() ? std::pair(0.0, 1.0) : std::pair(*std::min_element(x.begin(), x.end()), *std::max_element(x.begin(), x.end()));
    // The zero line spans the chart, the range is symmetric about it, and
    // residuals below a billionth of the concentrations (those of a fit to
    // exact data) are rounding: they show as zero on that scale.
    double reach = 0;
    for (double r : residuals_) reach = std::max(reach, std::fabs(r));
    for (double c : calculated_) reach = std::max(reach, kRoundingResidual * std::fabs(c));
    WriteTicksAsNumberTexts(chart, app_.separator);
    const QStringList titles = app_.text(AddedText::FitResidualAbscissas).split('|');
    QPointF zeroFrom(xLow, 0), zeroTo(xHigh, 0);
    for (QAbstractAxis* axis : chart->axes()) {
        auto* value = static_cast<QValueAxis*>(axis);
        if (axis->orientation() == Qt::Horizontal) {
            SetRoundAxis(value, xLow, xHigh, kEndMargin);
            value->setTitleText(titles.value(std::clamp(ComboBoxAbscissa->currentIndex(), 0, 2)));
            zeroFrom.setX(value->min());
            zeroTo.setX(value->max());
        } else {
            SetRoundAxis(value, -reach, reach, kEndMargin);
            value->setTitleText(app_.text(AddedText::FitResidualAxis));
        }
    }
    for (QAbstractSeries* series : chart->series()) {
        if (series->objectName() == "ResidualPoints") static_cast<QXYSeries*>(series)->replace(points);
        if (series->objectName() == "ResidualZero") static_cast<QXYSeries*>(series)->replace({zeroFrom, zeroTo});
    }
}

}  // namespace kavrin
