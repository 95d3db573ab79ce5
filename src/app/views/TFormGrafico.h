// The charts window: concentration against time at a node, and the
// longitudinal and transversal profiles of one time.
#pragma once

#include "frame/AppState.h"

#include <QWidget>

class QComboBox;
class QChartView;
class QLineSeries;

namespace kavrin {

class TFormGrafico : public QWidget {
    Q_OBJECT
public:
    explicit TFormGrafico(AppState& app);

    // Empties the chart (the new-project command).
    void ClearGrafico();

    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox7;
    QChartView* Chart1;
    QLineSeries* Series1;

private:
    AppState& app_;
};

}  // namespace kavrin
