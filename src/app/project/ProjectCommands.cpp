#include "project/ProjectCommands.h"

#include "text/DateTimeText.h"
#include "workspace/Workspace.h"
#include "CommandRunner.h"
#include "project/TFormDados.h"
#include "project/TFormProjeto.h"
#include "files/ProjectFile.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace kavrin {

namespace {
const QString kProjectFilter = QStringLiteral("KAVRIN Projeto (*.kvr)");
}

QString DesktopDateTimeText()
{
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    const bool midnight = now.time().hour() == 0 && now.time().minute() == 0 && now.time().second() == 0;
    return QString::fromStdString(DateTimeText(locale.toString(now.date(), QLocale::ShortFormat).toStdString(),
                                               now.time().toString(timeFormat.trimmed()).toStdString(), midnight));
}

void ProjectCommands::SalvaProj()
{
    if (!app_.project.ResultsExist) {
        dialogs_.notice(app_.messages.MsgSaveNeedsResults);
        return;
    }
    const QString chosen = dialogs_.saveFile(kProjectFilter, QString::fromStdString(app_.project.ProjectName));
    if (chosen.isEmpty()) return;
    WriteProjectFile((chosen + ".kvr").toStdString(), app_.project.ProjectName, DesktopDateTimeText().toStdString(),
                     app_.windows.dados->texts(), WorkspaceRoot());
    app_.project.ProjectSaved = true;
}

void ProjectCommands::OpenProject()
{
    const QString path = dialogs_.openFile(kProjectFilter, QString::fromStdString(WorkspaceRoot()));
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
    DeletaPasta(WorkspaceRoot(), app_.project.ProjectName);
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
