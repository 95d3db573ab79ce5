// The main window: the frame that holds the working windows, with the
// toolbar, the menu and the status bar, and the commands that show windows.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "project/FileCommands.h"
#include "project/ProjectCommands.h"
#include "project/SimulationCommand.h"

#include <QMainWindow>

class QMdiArea;
class QAction;
class QLabel;

namespace kavrin {

class ChildWindow;

class TFormPrincipal : public QMainWindow {
    Q_OBJECT
public:
    TFormPrincipal(AppState& app, Dialogs& dialogs);

    // Puts a working window into the frame as a child window.
    ChildWindow* addChild(QWidget* form, bool maximizable);
    QMdiArea* mdiArea() const { return mdi_; }

    // Show: visible, in front, active. Restore: a minimised window back to normal.
    void showWindow(QWidget* form, bool restore);

    // The step the main window's first showing runs: the command-line project.
    void ReadCommandLine(const QStringList& arguments);

    QAction* action(const char* name) const;

    // Commands whose work is built by later parts of the program; each one is
    // connected here so that they all run through the one error wrapper.
    void connectCommand(const char* actionName, const std::function<void()>& command);

    ProjectCommands& projects() { return projects_; }
    SimulationCommand& simulation() { return simulation_; }
    FileCommands& files() { return files_; }

    // The status bar's panel with the current project's name, kept up to date
    // after every command.
    void showProjectName();

    void Help1Click();
    void Sobre1Click();
    void FerramantaClick();
    // "Graficos *.jpeg": the chart as a bitmap under the chosen name + ".jpeg".
    void Graficos1Click();
    // "Mapa *.jpeg": the map's picture as a 24-bit bitmap, ".jpeg" appended
    // to the chosen name; nothing is written when no picture is shown.
    void Mapajpeg1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A new language: the status bar's project caption and the help window's
    // texts follow at once.
    void changeEvent(QEvent* event) override;

private:
    void buildToolBar();
    void buildMenu();
    QAction* makeAction(const char* name, const QString& text, int picture = -1);
    void giveHelpTexts();

    AppState& app_;
    Dialogs& dialogs_;
    QMdiArea* mdi_;
    ProjectCommands projects_;
    SimulationCommand simulation_;
    FileCommands files_;
    QLabel* projectPanel_;
};

// The main window's caption and status-bar credit.
extern const char* const kMainCaption;
extern const char* const kStatusCredit;

}  // namespace kavrin
