// The data window: the 21 parameter texts and the quadrature order, the
// master copy of the model's parameters.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "model/ParameterTexts.h"
#include "text/Errors.h"

#include <QWidget>
#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kavrin {

class TFormDados : public QWidget {
    Q_OBJECT
public:
    TFormDados(AppState& app, Dialogs& dialogs);

    // The texts as they stand (held in AppState, where commands read them).
    const ParameterTexts& texts() const;
    // Puts texts into the controls as they are; no change handler runs.
    void setTexts(const ParameterTexts& texts);
    // The source options' texts, into the master copy and the source window.
    void setSourceTexts(const SourceTexts& texts);

    // The first showing: the command-line project, then ArrumaCampos and Variaveis.
    void FormShow();

    // Reads a project file into the texts and the project state, then the
    // model. Throws (file or conversion errors) with nothing changed.
    void openproject(const QString& path);

    // Converts the texts into the model as a run does (Variaveis); a text that
    // does not convert is named by its field's caption after the platform's
    // message, and its field gets the focus.
    void convertTexts(ModelState& model);

    // The caption beside control `edit` as the window shows it, without '&' or
    // the trailing colon (0: ComboBox1).
    QString fieldCaption(int edit) const;
    // Gives control `edit` the focus, for a message about its value.
    void focusField(int edit);

    // Puts the new-project values into the edit boxes (the order stays) and
    // the source options back to their defaults.
    void ClearDados();

    std::array<QLineEdit*, 22> Edit{};  // Edit[n] is Edit n
    QComboBox* ComboBox1;
    QPushButton* SourceButton;  // shows the source window

signals:
    // The source options' texts have changed (here or in the source window).
    void sourceTextsChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditChange(int edit);  // Edit8Change, Edit10Change
    void EditExit(int edit);    // Edit1Exit … Edit21Exit
    void ComboBox1Change();
    // The retardation field's tooltip in the window's language.
    void showRetardationHint();
    // Throws `error` with the caption of control `edit` (0: ComboBox1) added,
    // after giving that control the focus.
    [[noreturn]] void failAtField(int edit, const ConversionError& error);

    AppState& app_;
    Dialogs& dialogs_;
    bool shown_ = false;
    bool showing_ = false;  // the controls are being set from texts
};

}  // namespace kavrin
