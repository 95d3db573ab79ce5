#include "project/SimulationCommand.h"

#include "frame/TFormPrincipal.h"
#include "gui/BackgroundTask.h"
#include "gui/CommandRunner.h"
#include "model/PhysicalChecks.h"
#include "model/RunChecks.h"
#include "model/Variaveis.h"
#include "project/OrderInEffect.h"
#include "project/ResultsHandOver.h"
#include "project/TFormCalculando.h"
#include "project/TFormDados.h"
#include "solution/Parallel.h"
#include "source/SourceWindow.h"
#include "text/DateTimeText.h"
#include "text/Errors.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"
#include "workspace/RunFileChecks.h"
#include "workspace/SimulationRun.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <atomic>
#include <exception>
#include <memory>

namespace kavrin {

namespace {

QString refusalMessage(const MessageSlots& m, RunRefusal refusal, bool portuguese)
{
    switch (refusal) {
    case RunRefusal::XStepNotPositive:
    case RunRefusal::YStepNotPositive:
        return QString::fromUtf8(portuguese ? PortugueseRefusalText(refusal) : EnglishRefusalText(refusal));
    case RunRefusal::GridTooLargeY:
        return m.MsgGridTooLargeY;
    case RunRefusal::GridTooLargeX:
        return m.MsgGridTooLargeX;
    case RunRefusal::YRangeExceedsX:
        return m.MsgYRangeExceedsX;
    case RunRefusal::YRangeNotAboveSourceWidth:
        return m.MsgYRangeNotAboveSourceWidth;
    case RunRefusal::TimeRangeEmpty:
        return m.MsgTimeRangeEmpty;
    case RunRefusal::TimeStepNotPositive:
    case RunRefusal::TooManyTimes:
        return m.MsgTimeStepInvalid;
    }
    return QString();
}

QWidget* frameOf(QWidget* form)
{
    return form->parentWidget() ? form->parentWidget() : form;
}

}  // namespace

bool SimulationCommand::obtainProjectName()
{
    std::string& name = app_.project.ProjectName;
    if (!app_.NewProjectName.empty()) {
        name = app_.NewProjectName;
        app_.NewProjectName.clear();
    }
    if (name.empty()) {
        const std::optional<QString> typed = dialogs_.askProjectName();
        if (!typed) return false;
        name = typed->toStdString();
        if (name.empty()) name = DateTimeText(std::time(nullptr));
    }
    try {
        ValidateProjectName(name);
    } catch (const CheckError&) {
        name.clear();  // the next Run asks again
        throw;
    }
    return true;
}

void SimulationCommand::ToolButton1Click()
{
    // A value no aquifer can have is refused before the earlier results are asked about.
    TFormDados* dados = app_.windows.dados;
    if (const auto refusal = CheckPhysics(dados->texts(), app_.separator)) {
        const AddedText line = refusal->rule == PhysicalRule::PorosityOutOfRange ? AddedText::PorosityOutOfRange
                                                                                 : AddedText::ValueNegativeOrNotFinite;
        dados->focusField(refusal->edit);
        dialogs_.notice(app_.text(line).arg(dados->fieldCaption(refusal->edit)));
        return;
    }
    if (!GaussOrderGivesNodes(app_, dialogs_)) return;
    if (!sourceAccepted()) return;
    ResultsHandOver previous(app_, dialogs_, projects_);
    if (!previous.settle()) return;
    app_.project.ProjectSaved = false;
    dados->convertTexts(app_.model);
    if (const auto refusal = CheckRun(app_.model)) {
        dialogs_.notice(refusalMessage(app_.messages, *refusal, app_.PortugueseActive));
        return;
    }
    try {
        CheckRunFiles(app_.model, app_.project.Root, app_.NewProjectName.empty() ? app_.project.ProjectName : app_.NewProjectName,
                      app_.separator);
    } catch (const RunFilesRefusal& refusal) {
        dialogs_.notice(QString::fromStdString(app_.PortugueseActive ? refusal.portuguese() : std::string(refusal.what())));
        return;
    }
    if (!obtainProjectName()) return;
    previous.commit();
    writeResults();
}

bool SimulationCommand::sourceAccepted()
{
    SourceWindow* source = app_.windows.source;
    if (!source) return true;
    const std::optional<SourceRefusal> refusal = source->takeShownTexts();
    if (!refusal) return true;
    ShowSourceWindow(app_);
    source->focusValue(*refusal);
    dialogs_.notice(source->refusalText(*refusal));
    return false;
}

void SimulationCommand::writeResults()
{
    // The run works on its own copies of what it uses; nothing the user can
    // reach meanwhile changes them. The outcome is handed back when it ends.
    struct Job {
        ModelState model;
        QuadratureState quadrature;
        ProjectState project;
        ParameterTexts texts;
        std::unique_ptr<ResultGrid> grid;
        bool complete = false;
    } job{app_.model, app_.quadrature, app_.project, app_.texts, std::make_unique<ResultGrid>(app_.grid)};

    DesabilitaJanelas();
    TFormCalculando* progress = app_.windows.calculando;
    progress->reset(app_.messages.MsgCalculating);
    if (QWidget* main = app_.windows.principal) progress->move(main->geometry().center() - progress->rect().center());
    progress->show();

    // The run writes on worker threads; this thread keeps the windows painted.
    std::atomic<int> shown{-1};
    std::atomic<double> shownTime{0};
    RunProgress counters;
    const RunEnvironment environment{job.project.Root, (app_.executableFolder + "valores.txt").toStdString(), app_.separator,
                                     false, WorkerCount()};
    const QString timeCaption = app_.messages.MsgAxisTime;
    const char separator = app_.separator;
    auto show = [progress, timeCaption, separator](int position, double time) {
        progress->showProgress(position, timeCaption, QString::fromStdString(TimeText(time, separator)));
    };
    std::exception_ptr failure;
    BackgroundTask task;
    task.start<RunOutcome>(
        [&](BackgroundTask& control) {
            return WriteRun(job.model, job.quadrature, job.grid.get(), job.project, environment, counters,
                            [&](const RunProgress& now) {
                                const int position = ProgressPosition(now);
                                const double time = now.CurrentTime;
                                if (shown.exchange(position) != position || shownTime.exchange(time) != time)
                                    control.post([show, position, time] { show(position, time); });
                                // Cancel: the run ends once the time being written is complete.
                                return progress->stopRequested ? RunRequest::StopAfterThisTime : RunRequest::Continue;
                            });
        },
        [&](TaskOutcome<RunOutcome> outcome) {
            failure = outcome.failure();
            job.complete = !failure && outcome.get() == RunOutcome::Finished;
        });
    task.waitForOutcome();

    ProjectState& project = app_.project;
    project.ProjectName = job.project.ProjectName;
    project.ProjectIndexPath = job.project.ProjectIndexPath;
    project.ResultsExist = job.project.ResultsExist;
    app_.quadrature = job.quadrature;
    if (project.ResultsExist) {
        app_.grid = *job.grid;
        app_.resultsTexts = job.texts;
    }
    app_.windows.principal->showProjectName();
    if (failure) {
        progress->hide();
        HabilitaJanelas();
        std::rethrow_exception(failure);
    }
    if (job.complete) show(ProgressPosition(counters), counters.CurrentTime - job.model.DT);
    dialogs_.notice(job.complete ? app_.messages.MsgRunFinished : app_.messages.MsgRunCancelled);
    progress->hide();
    HabilitaJanelas();
}

void SimulationCommand::DesabilitaJanelas()
{
    setWindowsEnabled(false);
}

void SimulationCommand::HabilitaJanelas()
{
    setWindowsEnabled(true);
}

// The frame itself stays enabled so that the progress window and the
// messages, which belong to it, stay usable; everything inside it is disabled.
void SimulationCommand::setWindowsEnabled(bool enabled)
{
    TFormPrincipal* main = app_.windows.principal;
    for (QWidget* w :
         {static_cast<QWidget*>(main->findChild<QToolBar*>("ToolBar1")), static_cast<QWidget*>(main->menuBar()),
          frameOf(app_.windows.dados), frameOf(app_.windows.mapa), frameOf(app_.windows.grafico), main->centralWidget()})
        w->setEnabled(enabled);
    // The menu's shortcuts would reach the commands past a disabled menu bar.
    for (QAction* action : main->findChildren<QAction*>()) action->setEnabled(enabled);
    running_ = !enabled;
}

}  // namespace kavrin
