// The Run command: what happens to earlier results, the checks, the project
// name, then the run on worker threads while the windows wait.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "project/ProjectCommands.h"

namespace kavrin {

class SimulationCommand {
public:
    SimulationCommand(AppState& app, Dialogs& dialogs, ProjectCommands& projects)
        : app_(app), dialogs_(dialogs), projects_(projects)
    {
    }

    void ToolButton1Click();

    // Disable and re-enable the toolbar, the menu, the data, map and chart
    // windows and every window inside the frame.
    void DesabilitaJanelas();
    void HabilitaJanelas();

    // A run is writing: the program must not close or change the model now.
    bool running() const { return running_; }

private:
    bool obtainProjectName();  // false: the user cancelled
    // The source window's texts checked against the data window's: refused
    // ones are named in a notice and shown in their window.
    bool sourceAccepted();
    void writeResults();  // steps 6 to 12
    void setWindowsEnabled(bool enabled);

    AppState& app_;
    Dialogs& dialogs_;
    ProjectCommands& projects_;
    bool running_ = false;
};

}  // namespace kavrin
