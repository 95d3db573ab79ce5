// The fit's residuals on a chart, against the observations' time, their
// distance from the source or the calculated concentration, as chosen.
#pragma once

#include "calibration/FitResult.h"
#include "calibration/Observations.h"
#include "frame/AppState.h"

#include <QWidget>

#include <vector>

class QChartView;
class QComboBox;
class QLabel;

namespace kavrin {

class ResidualChart : public QWidget {
    Q_OBJECT
public:
    ResidualChart(AppState& app, QWidget* parent);

    // The residuals of a fit that reached its end, one per observation.
    void showResiduals(const std::vector<Observation>& observations, const FitResult& result);
    void clear();
    // The captions in the language in effect.
    void showTexts();

    QComboBox* ComboBoxAbscissa;  // time, distance, calculated
    QChartView* ChartResiduals;

private:
    void draw();

    AppState& app_;
    QLabel* label_;
    std::vector<double> times_, distances_, calculated_, residuals_;
};

}  // namespace kavrin
