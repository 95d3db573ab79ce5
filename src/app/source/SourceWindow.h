// The source window: the source's history in time, its zones in the plane
// x = 0 and the control plane of the mass balance. It edits the source texts
// beside the data window's (AppState::texts.source); a value is checked as it
// is typed, and only texts that pass become the master copy.
#pragma once

#include "frame/AppState.h"
#include "model/SourceTextRules.h"
#include "source/SourceFields.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace kavrin {

class SourceWindow : public QWidget {
    Q_OBJECT
public:
    // Hidden, a child of `owner` until ShowSourceWindow puts it into the frame.
    SourceWindow(AppState& app, QWidget* owner);

    // Puts texts into the controls as they are (a project opened, a new
    // project); the master copy is the caller's to set.
    void showTexts(const SourceTexts& texts);

    // Checks the shown texts against the data window's texts as they stand (X1
    // and the first zone): passing texts become the master copy, a refusal is
    // shown in the window.
    std::optional<SourceRefusal> takeShownTexts();

    // A refusal in the window's language, naming the value; the control plane's
    // limit is X1 of `texts` (a project being opened), else of the data window.
    QString refusalText(const SourceRefusal& refusal, const ParameterTexts* texts = nullptr) const;
    // Gives the control of a refused value the focus.
    void focusValue(const SourceRefusal& refusal);

    QRadioButton *ConstantButton, *DecayButton, *StopButton, *StepsButton;
    QLineEdit *DecayEdit, *ReleaseEndEdit, *ControlPlaneEdit;
    QComboBox* DecayKind;  // item 0: a rate, item 1: a half-life
    QTableWidget *StepsTable, *ZonesTable;
    QPushButton *AddStepButton, *RemoveStepButton, *AddZoneButton, *RemoveZoneButton;
    QLabel* RefusalLabel;

protected:
    void changeEvent(QEvent* event) override;

private:
    void giveTexts();
    void valuesEdited();
    SourceFields shownFields() const;
    // Zone 1's size and concentration as the data window's texts give them.
    void showFirstZone();
    void enableHistoryValues();
    void addRow(QTableWidget* table);
    void removeRow(QTableWidget* table, int keep);
    // The caption of a value in messages ("Meia-vida (dias)", "Zona 3").
    QString valueCaption(const SourceRefusal& refusal) const;

    AppState& app_;
    bool showing_ = false;  // the controls are being set from texts
};

// Shows the source window in the frame (visible, in front, active), putting
// it there at its first showing.
void ShowSourceWindow(AppState& app);

}  // namespace kavrin
