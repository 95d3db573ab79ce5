// The project-name window: the name of the folder the next run writes into.
#pragma once

#include "frame/AppState.h"

#include <QDialog>

#include <optional>

class QLineEdit;

namespace kavrin {

class TFormProjeto : public QDialog {
    Q_OBJECT
public:
    TFormProjeto(AppState& app, QWidget* parent);

    // Shown modal: the typed name, or nothing when the user pressed Cancel,
    // Escape or the close box. Shown without waiting (New), OK keeps the name
    // for the next run (NewProjectName).
    std::optional<QString> askModal();

    bool ProjectDialogCancelled = false;
    QLineEdit* Edit1;

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void BitBtn1Click();
    void BitBtn2Click();

    AppState& app_;
};

}  // namespace kavrin
