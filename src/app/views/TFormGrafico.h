// The charts window: concentration against time at a node, the
// longitudinal and transversal profiles of one time, and the mass balance of
// the run.
#pragma once

#include "charts/ChartSeries.h"
#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "views/MassBalanceChart.h"
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
    enum class Kind { None, ConcentrationTime, LongitudinalProfile, TransversalProfile, MassBalance };
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
    // The mass balance of the results' model at the run's listed times.
    void MassBalanceChartClick();
    // Empties the chart, keeping its titles (the new-project command).
    void ClearGrafico();
    // The shown points as two tab-separated columns on the clipboard.
    void CopyValues();

    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox7;
    QPushButton *BitBtn1, *CopyButton;
    QChartView* Chart1;
    QLineSeries* Series1;
    QChartView* MassBalanceView;  // in Chart1's place while the mass balance is shown
    // The chart the window shows, for its picture.
    QChartView* shownChart() const;

protected:
    void changeEvent(QEvent* event) override;

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
    // The kind of ComboBox2's text, also the mass balance in the applied language.
    Kind currentKind() const;
    // The mass balance is a kind once there are results to balance.
    void offerMassBalance();
    MassBalanceTexts massBalanceTexts() const;
    void showMassBalanceView(bool shown);

    AppState& app_;
    Dialogs& dialogs_;
    MassBalancePlot massBalance_;  // the balance shown
};

}  // namespace kavrin
