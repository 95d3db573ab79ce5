// The project-name window: the name of the folder the next run writes into.
#pragma once

#include "shell/AppState.h"

#include <QDialog>

class QLineEdit;

namespace kavrin {

class TFormProjeto : public QDialog {
    Q_OBJECT
public:
    TFormProjeto(AppState& app, QWidget* parent);

    bool ProjectDialogCancelled = false;
    QLineEdit* Edit1;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    AppState& app_;
};

}  // namespace kavrin
