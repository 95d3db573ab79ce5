#include "project/ProjectCommands.h"

#include "files/ProjectFile.h"
#include "gui/CommandRunner.h"
#include "gui/SaveName.h"
#include "observations/TObservacao.h"
#include "project/ResultsHandOver.h"
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

namespace {

bool sameTexts(const ParameterTexts& a, const ParameterTexts& b)
{
    return a.edit == b.edit && a.comboBox1 == b.comboBox1 && a.source == b.source;
}

}  // namespace

bool ProjectCommands::SalvaProj()
{
    if (!app_.project.ResultsExist) {
        dialogs_.notice(app_.messages.MsgSaveNeedsResults);
        return false;
    }
    // The project keeps the texts the results were computed from; values typed
    // since then are not saved with them, and the user says whether that will do.
    if (!sameTexts(app_.texts, app_.resultsTexts) &&
        dialogs_.question(app_.text(AddedText::SaveWithRunParameters), false) != Answer::Yes)
        return false;
    return SaveResults();
}

bool ProjectCommands::SaveResults()
{
    if (!app_.project.ResultsExist) {
        dialogs_.notice(app_.messages.MsgSaveNeedsResults);
        return false;
    }
    const QString chosen = dialogs_.saveFile(kProjectFilter, QString::fromStdString(app_.project.ProjectName));
    if (chosen.isEmpty()) return false;
    const std::string path = WithExtension(chosen, kProjectExtension).toStdString();
    // The calibration goes with the project, its table beside the results: a
    // project file of its own name keeps a table of its own.
    TObservacao* calibration = app_.windows.observacao;
    const NamedLines lines = calibration ? CalibrationNamedLines(calibration->saveCalibration(
                                               app_.project.Root + app_.project.ProjectName + "/", ObservationFileName(path)))
                                         : NamedLines{};
    WriteProjectFile(path, app_.project.ProjectName, DateTimeText(std::time(nullptr)), app_.resultsTexts, app_.project.Root,
                     lines);
    app_.project.ProjectSaved = true;
    if (calibration) calibration->calibrationSaved();
    return true;
}

bool ProjectCommands::SettleCalibration()
{
    const TObservacao* calibration = app_.windows.observacao;
    const ProjectState& project = app_.project;
    if (!calibration || !project.ResultsExist || !project.ProjectSaved || !calibration->calibrationChanged()) return true;
    if (app_.settings.AutoDeleteData) return true;
    if (app_.settings.AutoSaveProjects) return SaveResults();
    switch (dialogs_.question(app_.text(AddedText::CalibrationChangedSave), true)) {
    case Answer::Yes:
        return SaveResults();
    case Answer::No:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

void ProjectCommands::OpenProject()
{
    if (!SettleCalibration()) return;
    ResultsHandOver previous(app_, dialogs_, *this);
    if (!previous.settle()) return;
    const QString path = dialogs_.openFile(kProjectFilter, QString::fromStdString(app_.project.Root));
    if (path.isEmpty()) return;
    app_.windows.dados->openproject(path);
    previous.commit();
}

void ProjectCommands::NewProject()
{
    if (!SettleCalibration()) return;
    TFormProjeto* names = app_.windows.projeto;
    names->ProjectDialogCancelled = false;
    names->setModal(false);
    names->show();
    names->raise();
    app_.windows.dados->ClearDados();
    if (app_.windows.observacao) app_.windows.observacao->clearCalibration();
    app_.windows.grafico->ClearGrafico();
    app_.windows.mapa->ClearMapa();
}

void ProjectCommands::DeleteCurrentResults()
{
    DeleteResults(app_.project.ProjectName);
}

void ProjectCommands::DeleteResults(const std::string& projectName)
{
    DeletaPasta(app_.project.Root, projectName);
}

bool ProjectCommands::FormClose()
{
    if (dialogs_.question(app_.messages.MsgConfirmExit, false) != Answer::Yes) return false;
    bool calibrationSettled = false;
    RunCommand(dialogs_, [&] { calibrationSettled = SettleCalibration(); });
    if (!calibrationSettled) return false;
    const ProjectState& project = app_.project;
    // Results a project file points to are never deleted on the way out.
    const bool unsaved = !app_.commandLine.StartedWithProject && !project.ProjectSaved && !project.ProjectName.empty();
    // The program goes only once the results are saved: a cancelled save
    // dialog, or a failed save, keeps it running with its results.
    auto save = [this] {
        bool saved = false;
        RunCommand(dialogs_, [&] { saved = SalvaProj(); });
        return saved;
    };
    if (app_.settings.AutoDeleteData) {
        if (unsaved) DeleteCurrentResults();
    } else if (app_.settings.AutoSaveProjects) {
        if (project.ResultsExist && !project.ProjectSaved) return save();
    } else if (unsaved) {
        if (dialogs_.question(app_.messages.MsgAskSaveProject, false) == Answer::Yes) return save();
        DeleteCurrentResults();
    }
    return true;
}

}  // namespace kavrin
