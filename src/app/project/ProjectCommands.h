// The project commands of the main window: save, open, new, and what the
// closing of the program does with the current results.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

namespace kavrin {

class ProjectCommands {
public:
    ProjectCommands(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs) {}

    // Saves the current project through a save dialog (".kvr" appended).
    void SalvaProj();
    // Asks for a project file and opens it.
    void OpenProject();
    // The project-name window without waiting, the new-project values, empty views.
    void NewProject();
    // The closing steps; false keeps the program running.
    bool FormClose();
    // Removes the current project's folder (inside the workspace only).
    void DeleteCurrentResults();

private:
    AppState& app_;
    Dialogs& dialogs_;
};

}  // namespace kavrin
