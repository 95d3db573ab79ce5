// The charts window: concentration against time at a node, the
// longitudinal and transversal profiles of one time, and the mass balance of
// the run.
#pragma once

#include "charts/ChartSeries.h"
#include "charts/CurveTable.h"
#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "views/MassBalanceChart.h"
#include "workspace/ResultGrid.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QChartView;
class QLineSeries;
class QPushButton;

namespace kavrin {

class ChartCurves;

class TFormGrafico : public QWidget {
    Q_OBJECT
public:
    TFormGrafico(AppState& app, Dialogs& dialogs);
    ~TFormGrafico() override;

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
    // The shown points as two tab-separated columns on the clipboard; several
    // curves as columns under their names (see CurveTable).
    void CopyValues();
    // The same values as a CSV file, chosen in a save dialog.
    void SaveValues();
    // The drawn curve stays on the chart, and the next one of its kind is
    // drawn beside it; a chart of another kind starts without them.
    void AddCurve();
    // The added curves leave the chart; the drawn one stays.
    void ClearCurves();

    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6, *ComboBox7;
    QPushButton *BitBtn1, *CopyButton, *SaveValuesButton, *AddCurveButton, *ClearCurvesButton;
    QCheckBox* LogarithmicAxis;  // the concentration axis in decades
    QChartView* Chart1;
    QLineSeries* Series1;
    QChartView* MassBalanceView;  // in Chart1's place while the mass balance is shown
    // The chart the window shows, for its picture.
    QChartView* shownChart() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    // What a curve is, for its legend entry: the node of a concentration-time
    // curve (x, y), or the time of a profile and its position across (y of a
    // longitudinal, x of a transversal one).
    struct CurveLabel {
        Kind kind = Kind::None;
        double x = 0, y = 0;
        QString time;
        friend bool operator==(const CurveLabel&, const CurveLabel&) = default;
    };
    struct HeldCurve {
        CurveLabel label;
        QList<QPointF> points;
    };

    void setEnabledNamed(std::initializer_list<const char*> names, bool enabled);
    void fillList(QComboBox* list, double start, double step, double end, const char* stepName);
    void startChart(Kind kind, const QString& bottomTitle, const QString& title);
    void showPoints(ChartPoints points);
    // The drawn curve is the one `label` names.
    void nameCurve(const CurveLabel& label);
    // Draws the held curves, the drawn one and the standard on the chosen
    // axis, with the line under the title; `refitAxes` after new points.
    void showCurves(bool refitAxes = false);
    QString curveName(const CurveLabel& label, bool positionShared) const;
    bool positionShared() const;
    QString severalCurvesDetail() const;
    void enableValues(bool enabled);
    // The shown values: the single curve under the axes' titles, several
    // under their names, or the mass balance.
    CurveTable valuesTable() const;
    void setAddedCaptions();
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
    std::unique_ptr<ChartCurves> curves_;
    std::vector<HeldCurve> held_;
    std::optional<CurveLabel> drawn_;  // what Series1 shows, once known
    QString detail_;                   // the drawn curve's line under the title
};

}  // namespace kavrin
