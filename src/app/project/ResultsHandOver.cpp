#include "project/ResultsHandOver.h"

#include "project/ProjectCommands.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

namespace kavrin {

ResultsHandOver::~ResultsHandOver()
{
    if (committed_) return;
    app_.project = before_;
    if (saved_) app_.project.ProjectSaved = true;
}

bool ResultsHandOver::settle()
{
    ProjectState& project = app_.project;
    if (!project.ResultsExist) return true;
    auto forget = [&project] {
        project.ProjectName.clear();
        project.ResultsExist = false;
    };
    if (project.ProjectSaved) {
        forget();  // a project file points to these results: they stay as they are
    } else if (app_.settings.AutoDeleteData) {
        discarded_ = project.ProjectName;
        forget();
    } else if (app_.settings.AutoSaveProjects) {
        saved_ = projects_.SaveResults();
        forget();
    } else {
        switch (dialogs_.question(app_.messages.MsgAskSaveProject, true)) {
        case Answer::Yes:
            saved_ = projects_.SaveResults();
            if (saved_) forget();  // a cancelled save dialog cancels what was going on
            break;
        case Answer::No:
            discarded_ = project.ProjectName;
            forget();
            break;
        case Answer::Cancel:
            break;
        }
    }
    return !project.ResultsExist;
}

void ResultsHandOver::commit()
{
    committed_ = true;
    if (!discarded_.empty()) projects_.DeleteResults(discarded_);
    // What the views show belongs to the results given up: never under the new project's name.
    app_.windows.mapa->ClearMapa();
    app_.windows.grafico->ClearGrafico();
    app_.windows.animacao->ClearAnimacao();
}

}  // namespace kavrin
