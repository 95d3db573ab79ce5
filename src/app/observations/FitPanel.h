// The calibration window's automatic fit: the parameters to fit and their
// bounds, the fit on a worker thread with its progress and Cancel, the results
// table, and applying the fitted values to the data window (with an undo).
#pragma once

#include "calibration/ParameterFit.h"
#include "frame/AppState.h"
#include "Dialogs.h"

#include <QGroupBox>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kavrin {

class FitPanel : public QGroupBox {
    Q_OBJECT
public:
    // `observations` gives the table's rows; `showFitted` redraws the
    // comparison with the fitted concentrations.
    using ShowFitted = std::function<void(const std::vector<Observation>&, const std::vector<double>&)>;
    FitPanel(AppState& app, Dialogs& dialogs, std::function<std::vector<ObservationTexts>()> observations,
             ShowFitted showFitted, QWidget* parent);
    ~FitPanel() override;

    // The texts of the language file's lines 126 on, in order; a missing or
    // empty line keeps the built-in text of the language in effect.
    void applyLanguage(const QStringList& lines, bool portuguese);
    static constexpr int kFirstLanguageLine = 126;
    static constexpr int kLanguageLines = 20;

    void BitBtn7Click();   // "Ajustar": starts the fit
    void BitBtn8Click();   // "Cancelar ajuste"
    void BitBtn9Click();   // "Aplicar à janela de dados"
    void BitBtn10Click();  // "Desfazer aplicação"

    bool running() const { return worker_.joinable() && !finished_; }
    const FitResult* result() const { return result_.get(); }

    std::array<QCheckBox*, 9> CheckBoxes{};   // one per fittable parameter, in kFitParameters' order
    std::array<QLineEdit*, 9> LowerEdits{}, UpperEdits{};
    QCheckBox* CheckBoxLog;
    QLineEdit* EditDetectionLimit;
    QTableWidget* StringGrid2;  // fitted values
    QTableWidget* StringGrid3;  // statistics before and after
    QLabel* LabelProgress;
    QLabel* LabelNotes;         // intervals, correlations, or why the fit cannot tell the parameters apart

private:
    QString text(int line) const { return texts_[static_cast<std::size_t>(line - kFirstLanguageLine)]; }
    void fillDefaultBounds(int index);
    void finish(std::shared_ptr<FitResult> result, QString failure, std::vector<Observation> observations);
    void showResult();
    void setRunning(bool running);

    AppState& app_;
    Dialogs& dialogs_;
    std::function<std::vector<ObservationTexts>()> observations_;
    ShowFitted showFitted_;
    std::array<QString, kLanguageLines> texts_;
    QPushButton *fitButton_, *cancelButton_, *applyButton_, *undoButton_;

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool finished_ = true;
    std::shared_ptr<FitResult> result_;
    std::vector<std::pair<int, QString>> undo_;  // the data window's texts before the apply
};

}  // namespace kavrin
