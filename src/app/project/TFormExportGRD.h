// The export window: the results file to convert and the name to write, shared
// by the Surfer grid and the text table exports.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

#include <QDialog>

class QLineEdit;

namespace kavrin {

class TFormExportGRD : public QDialog {
    Q_OBJECT
public:
    TFormExportGRD(AppState& app, Dialogs& dialogs, QWidget* parent);

    QLineEdit* Edit1;    // the results file to read
    QLineEdit* Edit2;    // the file to write
    QString saveFilter;  // set by the command that opens the window

    void Button1Click();  // "Procurar" for Edit1
    void Button2Click();  // "Procurar" for Edit2
    void BitBtn1Click();  // OK: a folder in Edit1 opens the file dialog inside it first

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool chooseResultsFile(const QString& folder);  // false: the user cancelled

    AppState& app_;
    Dialogs& dialogs_;
};

}  // namespace kavrin
