#include "project/ProjectCommands.h"

#include "files/ProjectFile.h"
#include "gui/CommandRunner.h"
#include "project/TFormDados.h"
#include "project/TFormProjeto.h"
#include "text/DateTimeText.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"
#include "workspace/Workspace.h"

namespace kavrin {

namespace {
const QString kProjectFilter = QStringLiteral("KAVRIN Projeto (*.kvr)");
}

void ProjectCommands::SalvaProj()
{
    if (!app_.project.ResultsExist) {
        dialogs_.notice(app_.messages.MsgSaveNeedsResults);
        return;
    }
    const QString chosen = dialogs_.saveFile(kProjectFilter, QString::fromStdString(app_.project.ProjectName));
    if (chosen.isEmpty()) return;
    // The texts the results were computed from, whatever the data window holds now.
    WriteProjectFile((chosen + ".kvr").toStdString(), app_.project.ProjectName, DateTimeText(std::time(nullptr)),
                     app_.resultsTexts, app_.project.Root);
    app_.project.ProjectSaved = true;
}

void ProjectCommands::OpenProject()
{
    const QString path = dialogs_.openFile(kProjectFilter, QString::fromStdString(app_.project.Root));
    if (!path.isEmpty()) app_.windows.dados->openproject(path);
}

void ProjectCommands::NewProject()
{
    TFormProjeto* names = app_.windows.projeto;
    names->ProjectDialogCancelled = false;
    names->setModal(false);
    names->show();
    names->raise();
    app_.windows.dados->ClearDados();
    app_.windows.grafico->ClearGrafico();
    app_.windows.mapa->ClearMapa();
}

void ProjectCommands::DeleteCurrentResults()
{
    DeletaPasta(app_.project.Root, app_.project.ProjectName);
}

bool ProjectCommands::FormClose()
{
    if (dialogs_.question(app_.messages.MsgConfirmExit, false) != Answer::Yes) return false;
    const ProjectState& project = app_.project;
    if (app_.settings.AutoDeleteData) {
        if (!project.ProjectName.empty()) DeleteCurrentResults();
    } else if (app_.settings.AutoSaveProjects) {
        return RunCommand(dialogs_, [this] { SalvaProj(); });
    } else if (!app_.commandLine.StartedWithProject && !project.ProjectSaved && !project.ProjectName.empty()) {
        if (dialogs_.question(app_.messages.MsgAskSaveProject, false) == Answer::Yes)
            return RunCommand(dialogs_, [this] { SalvaProj(); });
        DeleteCurrentResults();
    }
    return true;
}

}  // namespace kavrin
