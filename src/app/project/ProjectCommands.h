// The project commands of the main window: save, open, new, and what the
// closing of the program does with the current results.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

namespace kavrin {

class ProjectCommands {
public:
    ProjectCommands(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs) {}

    // Saves the current project through a save dialog (".kvr" appended unless
    // the name ends with it). When the data window differs from the texts of
    // the results, asks first whether to save them with their run's texts.
    // True once the file is written.
    bool SalvaProj();
    // The same without that question: what is typed goes on into a new run.
    bool SaveResults();
    // Settles the current results as Run does, asks for a project file and opens it.
    void OpenProject();
    // The project-name window without waiting, the new-project values, empty
    // views, an empty observation table and the fit's default choices.
    void NewProject();
    // The closing steps; false keeps the program running.
    bool FormClose();
    // Removes the current project's folder (inside the workspace only).
    void DeleteCurrentResults();
    void DeleteResults(const std::string& projectName);
    // Before the calibration window leaves a saved project (New, Open, the
    // closing): a table or fit choices changed since its file was written are
    // saved, let go or kept as the settings or the user say. False: cancelled.
    bool SettleCalibration();

private:
    AppState& app_;
    Dialogs& dialogs_;
};

}  // namespace kavrin
