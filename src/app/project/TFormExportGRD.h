// The export window: the results file to convert and the name to write, shared
// by the Surfer grid and the text table exports, and by the exports onto the
// site map, which add their format and the site placement.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

#include <QDialog>

class QLineEdit;

namespace kavrin {

class SiteExportPanel;

class TFormExportGRD : public QDialog {
    Q_OBJECT
public:
    TFormExportGRD(AppState& app, Dialogs& dialogs, QWidget* parent);

    QLineEdit* Edit1;    // the results file to read
    QLineEdit* Edit2;    // the file to write
    QString saveFilter;  // set by the command that opens the window
    // The format and placement of the exports onto the site map, shown only
    // when the window opens for them; the Surfer grid and the table keep the window as it was.
    SiteExportPanel* SitePanel;
    void showSitePanel(bool shown);

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
