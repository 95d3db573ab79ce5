// The file commands of the main window: parameter files, the Surfer grid and
// text table exports, and loading one time of the results into ResultGrid.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "project/ProjectCommands.h"

namespace kavrin {

class FileCommands {
public:
    FileCommands(AppState& app, Dialogs& dialogs, ProjectCommands& projects) : app_(app), dialogs_(dialogs), projects_(projects)
    {
    }

    void AbreArq();   // settle the current results as Run does, then read a parameter file into the data window
    void SalvaArq();  // write the data window's texts (".dat" appended); source options are dropped once the user agrees

    enum class Format { Grid, Table };
    // Every time of the current project, under a base name from the save dialog.
    void ExportAllFiles(Format format, const QString& filter);
    // One results file chosen in the export window.
    void ExportChosenFile(Format format);
    // One results file, or the observation wells, onto the site map: the
    // export window with its format and the site placement.
    void ExportSiteMap();

    // Loads the time `tempo` (its text as in the file name) into ResultGrid;
    // a missing file shows MsgResultFileMissing and leaves the grid alone.
    void CompletaArray(const QString& tempo);

private:
    void exportWith(Format format, const QString& save, const QString& open, int only);

    AppState& app_;
    Dialogs& dialogs_;
    ProjectCommands& projects_;
};

}  // namespace kavrin
