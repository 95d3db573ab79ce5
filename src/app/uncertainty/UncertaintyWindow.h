// The uncertainty window: the parameters to vary and how, the standard and
// further thresholds, the realizations, the seed, the times and the
// receptors; Run with its progress and Cancel; then the maps of probability
// and of percentiles for a chosen time, and a receptor's bands over time,
// each saved as a picture or copied as values.
#pragma once

#include "frame/AppState.h"
#include "gui/BackgroundTask.h"
#include "gui/Dialogs.h"
#include "map/MapPicture.h"
#include "uncertainty/ReceptorBandChart.h"
#include "uncertainty/UncertaintyForm.h"
#include "uncertainty/UncertaintyResults.h"

#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

class QCheckBox;
class QChartView;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace kavrin {

class UncertaintyWindow : public QWidget {
    Q_OBJECT
public:
    // Hidden, a child of `owner` until ShowUncertaintyWindow puts it into the frame.
    UncertaintyWindow(AppState& app, Dialogs& dialogs, QWidget* owner);
    ~UncertaintyWindow() override;

    // The parameters the model uses (with their current values), the run's
    // times and whether the fit can be drawn from; what was chosen for a
    // parameter still offered is kept.
    void refresh();
    // Checks the settings (a refusal is shown and nothing runs), then starts the realizations.
    void run();
    void cancel();
    bool running() const { return task_.running(); }
    // Keeps the interface responsive until a started run has ended.
    void waitForRun() { task_.waitForOutcome(); }

    // What the window reads from its controls.
    UncertaintyFormTexts formTexts() const;
    // The distribution column's box of a parameter row.
    QComboBox* distributionBox(int row) const;
    int parameterRow(const std::string& name) const;

    // The results shown, if any: of the settings they were computed with.
    const UncertaintyResults* results() const { return shown_ ? &shown_->results : nullptr; }
    const UncertaintySettings* resultSettings() const { return shown_ ? &shown_->settings : nullptr; }
    // The values of the map shown, on the result grid's cells, and its picture.
    const ResultGrid* shownGrid() const { return shownGrid_.get(); }
    const QImage& mapPicture() const { return mapPicture_; }

    QTabWidget* Tabs;
    QTableWidget *ParametersTable, *ReceptorsTable;
    QLineEdit *StandardEdit, *ThresholdsEdit, *RealizationsEdit, *SeedEdit;
    QCheckBox* LatinHypercubeBox;
    QListWidget* TimesList;
    QPushButton *AddReceptorButton, *RemoveReceptorButton, *RunButton, *CancelButton;
    QProgressBar* RunProgress;
    QLabel *StatusLabel, *MapLabel, *PlumeLabel;
    QComboBox *MapChoice, *MapTimeChoice, *ReceptorChoice;
    QPushButton *SaveMapButton, *CopyMapButton, *SaveChartButton, *CopyChartButton;
    QChartView* BandChart;

protected:
    void changeEvent(QEvent* event) override;

private:
    struct Shown {
        UncertaintySettings settings;
        ModelState model;
        UncertaintyResults results;
        std::vector<std::vector<ReceptorTimeSummary>> receptors;  // per receptor, per time
    };
    QWidget* settingsPage();
    QWidget* mapPage();
    QWidget* receptorPage();
    void giveTexts();
    void fillDistributionBox(QComboBox* box, bool fromFit) const;
    void setRunning(bool running);
    // A run's end: its results (none when cancelled) or its failure.
    void finish(std::shared_ptr<Shown> shown, const QString& failure);
    void clearResults();
    void fillResultChoices();
    void showMap();
    void showReceptor();
    QString mapName(int choice) const;
    ReceptorBandTexts bandTexts() const;
    ModelState runModel() const;
    const FitResult* fitResult() const;
    void copyMapValues();

    AppState& app_;
    Dialogs& dialogs_;
    BackgroundTask task_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    QElapsedTimer clock_;
    std::unique_ptr<Shown> shown_;
    std::unique_ptr<ResultGrid> shownGrid_;
    std::optional<MapPicture> shownMap_;  // the shapes of the map shown, for its saved picture
    QImage mapPicture_;
};

// Shows the uncertainty window in the frame (visible, in front, active),
// putting it there at its first showing, its parameters and times refreshed.
void ShowUncertaintyWindow(AppState& app);

}  // namespace kavrin
