// The settings window: what happens to earlier results, and the language.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

#include <QDialog>

class QRadioButton;
class QTabWidget;

namespace kavrin {

class TFormFerramenta : public QDialog {
    Q_OBJECT
public:
    TFormFerramenta(AppState& app, Dialogs& dialogs, QWidget* parent);

    void FormCreate();    // preselects the stored choices
    void BitBtn1Click();  // "Aplicar"
    void BitBtn2Click();  // "Cancelar"

    QTabWidget* PageControl1;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton5, *RadioButton3, *RadioButton4;

private:
    AppState& app_;
    Dialogs& dialogs_;
};

}  // namespace kavrin
