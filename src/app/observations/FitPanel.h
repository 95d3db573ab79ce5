// The calibration window's automatic fit: the parameters to fit and their
// bounds, the fit on a worker thread with its progress and Cancel, the results
// table, and applying the fitted values to the data window (with an undo).
#pragma once

#include "calibration/FitMessage.h"
#include "calibration/FitResult.h"
#include "calibration/FitTexts.h"
#include "calibration/ObservationTable.h"
#include "files/FitProjectLines.h"
#include "fit/ProfileLikelihood.h"
#include "fit/SeveralStarts.h"
#include "frame/AppState.h"
#include "gui/BackgroundTask.h"
#include "gui/Dialogs.h"

#include <QGroupBox>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QScrollArea;
class QLabel;
class QProgressBar;
class QSpinBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kavrin {

class ResidualChart;

class FitPanel : public QGroupBox {
    Q_OBJECT
public:
    // `table` gives the observation table; `showFitted` redraws the
    // comparison with the fitted concentrations.
    using ShowFitted = std::function<void(const std::vector<Observation>&, const std::vector<double>&)>;
    FitPanel(AppState& app, Dialogs& dialogs, std::function<const ObservationTable&()> table, ShowFitted showFitted,
             QWidget* parent);
    ~FitPanel() override;

    // The texts of the language file's lines 126 on, in order; a missing or
    // empty line keeps the built-in text of the language in effect.
    void applyLanguage(const QStringList& lines, bool portuguese);
    static constexpr int kFirstLanguageLine = kFirstFitTextLine;
    static constexpr int kLanguageLines = kFitTextLines;
    static constexpr int kWeightHeadingLine = static_cast<int>(FitText::WeightHeading);
    QString text(int line) const { return QString::fromStdString(texts_.line(line)); }
    QString text(FitText line) const { return text(static_cast<int>(line)); }

    // A refusal of the fit in the language in effect.
    QString messageText(const FitMessage& message) const;

    void startFit();           // "Ajustar"
    void cancelFit();          // "Cancelar ajuste"
    void applyFittedValues();  // "Aplicar à janela de dados"
    void undoApply();          // "Desfazer aplicação"

    // Forgets the last fit's results (a new table, a failed fit): nothing of
    // it stays on show or can be applied.
    void clearResult();

    // The choices as a project stores them: the parameters checked, the bounds
    // of each that read as numbers, the log option, the detection limit and
    // the weights rule (no table file), and the number of starts and their
    // seed while several starts are chosen. Showing stored choices sets every
    // control to them and clears the last result.
    StoredCalibration storedChoices() const;
    void showStoredChoices(const StoredCalibration& choices);

    // A parameter as the data window's caption names it.
    QString parameterName(FitParameter parameter) const;

    bool running() const { return task_.running(); }
    const FitResult* result() const { return result_.get(); }

    std::array<QCheckBox*, 9> CheckBoxes{};  // one per fittable parameter, in kFitParameters' order
    std::array<QLineEdit*, 9> LowerEdits{}, UpperEdits{};
    // The source's, in kSourceFitParameters' order: shown while the source options use them.
    std::array<QCheckBox*, kSourceFitParameters.size()> SourceCheckBoxes{};
    std::array<QLineEdit*, kSourceFitParameters.size()> SourceLowerEdits{}, SourceUpperEdits{};
    QCheckBox* CheckBoxLog;
    QLineEdit* EditDetectionLimit;
    QComboBox* ComboBoxWeights;      // the weighting rule, in WeightRule's order
    QTableWidget* FittedValuesGrid;  // the fitted values with their errors and intervals
    QTableWidget* StatisticsGrid;    // the statistics before and after
    QProgressBar* FitProgressBar;    // the iterations while the fit runs, then how it ended
    QLabel* LabelNotes;              // intervals, correlations, or why the fit cannot tell the parameters apart
    // Several starts by Latin hypercube inside the bounds, their number and seed.
    QCheckBox* CheckBoxSeveralStarts;
    QSpinBox *SpinBoxStarts, *SpinBoxSeed;
    QComboBox* ComboBoxProfile;  // "none", then the checked parameters: whose profile-likelihood interval to find
    ResidualChart* Residuals;    // the residuals after the fit
    QLabel* LabelDiagnostics;    // the several starts, the Jacobian's conditioning, the profile interval
    const std::optional<SeveralStartsResult>& startsResult() const { return starts_; }
    const std::optional<ProfileInterval>& profileResult() const { return profile_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // A parameter's line of the bounds grid.
    struct ParameterRow {
        const FitParameterInfo* info;
        QCheckBox* check;
        QLineEdit *lower, *upper;
    };
    void addRow(QGridLayout* grid, const FitParameterInfo& info, const QString& number, QCheckBox*& check, QLineEdit*& lower,
                QLineEdit*& upper);
    // Shows the source's rows the current source options use; a hidden row is unchecked.
    void showSourceRows();
    // The parameters' area as wide as its rows and as high as a dozen of them.
    void fitBoundsArea();
    // The model of the data window's texts; its source options stay the default while a text does not convert.
    ModelState currentModel() const;
    void showParameterNames();
    void fillDefaultBounds(const ParameterRow& row);
    // What the worker found: the fit, its several starts, the profile interval.
    struct FitRun {
        FitResult result;
        std::optional<SeveralStartsResult> starts;
        std::optional<ProfileInterval> profile;
        std::string profileFailure;
    };
    void finish(std::shared_ptr<FitRun> run, std::optional<FitMessage> refusal, QString failure,
                std::vector<Observation> observations);
    // The added lines' captions, and the profile's choices from the checked parameters.
    void showAddedTexts();
    void showProfileChoices();
    // The several starts, the conditioning and the profile interval, for the notes.
    QString diagnosticsText() const;
    void showResult();
    void setRunning(bool running);

    AppState& app_;
    Dialogs& dialogs_;
    std::function<const ObservationTable&()> table_;
    int iterationBound_ = 0;  // the most iterations the fit may take
    ShowFitted showFitted_;
    FitTexts texts_;  // the language file's lines, or the built-in ones
    QPushButton *fitButton_, *cancelButton_, *applyButton_, *undoButton_;
    QScrollArea* boundsArea_;

    BackgroundTask task_;  // the fit off the interface thread
    std::shared_ptr<FitResult> result_;
    std::optional<SeveralStartsResult> starts_;
    std::optional<ProfileInterval> profile_;
    QString profileFailure_;
    std::vector<ParameterRow> rows_;             // the data window's nine, then the source's
    std::vector<std::pair<int, QString>> undo_;  // the data window's texts before the apply
    std::optional<SourceTexts> undoSource_;      // the source options' texts before the apply
};

}  // namespace kavrin
