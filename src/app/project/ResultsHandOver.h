// What happens to the current results when something takes their place (a
// run, another project, a parameter file): saved results stay on the disk;
// unsaved ones are saved, or deleted once the new thing has really started —
// never before, so that a cancel on the way leaves the results and the project
// they belong to as they were.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

#include <string>

namespace kavrin {

class ProjectCommands;

class ResultsHandOver {
public:
    ResultsHandOver(AppState& app, Dialogs& dialogs, ProjectCommands& projects)
        : app_(app), dialogs_(dialogs), projects_(projects), before_(app.project)
    {
    }
    // Not committed: the project is back as it was (a save made meanwhile counts).
    ~ResultsHandOver();
    ResultsHandOver(const ResultsHandOver&) = delete;
    ResultsHandOver& operator=(const ResultsHandOver&) = delete;

    // Applies the settings, or asks MsgAskSaveProject; afterwards no results
    // are current. False: the user cancelled, and nothing changed.
    bool settle();
    // The new thing has started: results given up are deleted now, and the
    // map, the chart and the animation's frames that showed them are cleared.
    void commit();

private:
    AppState& app_;
    Dialogs& dialogs_;
    ProjectCommands& projects_;
    const ProjectState before_;
    std::string discarded_;  // unsaved results to delete on commit
    bool saved_ = false;
    bool committed_ = false;
};

}  // namespace kavrin
