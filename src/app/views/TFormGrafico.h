// The charts window: concentration against time at a node, and the
// longitudinal and transversal profiles of one time.
#pragma once

#include "charts/ChartSeries.h"
#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "workspace/ResultGrid.h"

#include <QWidget>
#include <functional>
#include <optional>

class QComboBox;
class QChartView;
class QLineSeries;
class QPushButton;

namespace kavrin {

class TFormGrafico : public QWidget {
    Q_OBJECT
public:
    TFormGrafico(AppState& app, Dialogs& dialogs);

    // The kinds of chart, recognised from ComboBox2's exact text in either language.
    enum class Kind { None, ConcentrationTime, LongitudinalProfile, TransversalProfile };
    static Kind KindOf(const QString& text);

    // Each time the window becomes the active child: the lists of the node,
    // or the notice that there are no results.
    void FormActivate();
    // A kind picked or typed in ComboBox2: its controls enabled, its lists refilled.
    void ComboBox2Change();
    // "Atualizar": draws the chart of the kind named in ComboBox2.
    void BitBtn1Click();
    void GrConcTemp();
    void GrConcDisX();
    void GrConcDisY();
    // Empties the chart, keeping its titles (the new-project command).
    void ClearGrafico();
    // The shown points as two tab-separated columns on the clipboard.
    void CopyValues();

    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox7;
    QPushButton *BitBtn1, *CopyButton;
    QChartView* Chart1;
    QLineSeries* Series1;

private:
    void setEnabledNamed(std::initializer_list<const char*> names, bool enabled);
    void fillList(QComboBox* list, double start, double step, double end, const char* stepName);
    void startChart(const QString& bottomTitle, const QString& title);
    void showPoints(ChartPoints points);
    double position(const QComboBox* list) const;
    // The times the run's index lists, for a profile's time list.
    void fillTimes(QComboBox* list);
    // The grid of time `tempo` when the index lists it and its file holds one
    // whole time of the grid; nothing otherwise.
    std::optional<ResultGrid> listedCompleteTime(const QString& tempo) const;
    // Loads a profile's time into the grid, or refuses it naming the time.
    void loadProfileTime(const QString& tempo);
    // The line under the title that says where and when the chart is.
    void showDetail(const QString& text);
    // Runs one step of a command; the window's own refusals become notices.
    void withChecks(const std::function<void()>& step);

    AppState& app_;
    Dialogs& dialogs_;
};

}  // namespace kavrin
