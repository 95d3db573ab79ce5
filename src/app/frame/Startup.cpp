#include "frame/Startup.h"

#include "frame/LanguageLoader.h"
#include "frame/TFormEntrada.h"
#include "frame/TFormFerramenta.h"
#include "frame/TFormPrincipal.h"
#include "gui/ChildWindow.h"
#include "gui/CommandRunner.h"
#include "gui/Settings.h"
#include "observations/TObservacao.h"
#include "project/TFormCalculando.h"
#include "project/TFormDados.h"
#include "project/TFormExportGRD.h"
#include "project/TFormProjeto.h"
#include "source/SourceWindow.h"
#include "uncertainty/UncertaintyWindow.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QGuiApplication>
#include <QLocale>
#include <QMdiArea>
#include <QScreen>

namespace kavrin {

namespace {

void connectShowCommands(TFormPrincipal& main, const Windows& w)
{
    struct ShowCommand {
        const char* action;
        QWidget* window;
        bool show;
        bool restore;
    };
    const ShowCommand commands[] = {
        {"ToolButton6", w.dados, true, true},     {"Dados1", w.dados, true, false},
        {"ToolButton9", w.grafico, true, true},   {"Grficos1", w.grafico, true, true},
        {"ToolButton10", w.mapa, true, true},     {"MapadePixels1", w.mapa, true, true},
        {"ToolButton14", w.animacao, true, true}, {"ToolButton16", w.observacao, true, true},
        {"Calibrao1", w.observacao, false, true},
    };
    for (const ShowCommand& c : commands) {
        main.connectCommand(c.action, [&main, c] {
            if (c.show) {
                main.showWindow(c.window, c.restore);
            } else if (c.window->parentWidget()->isMinimized()) {
                c.window->parentWidget()->showNormal();
            }
        });
    }
}

}  // namespace

std::unique_ptr<TFormPrincipal> StartKavrin(AppState& app, Dialogs& dialogs, const QStringList& arguments)
{
    Windows& w = app.windows;
    auto main = std::make_unique<TFormPrincipal>(app, dialogs);
    w.principal = main.get();
    if (QScreen* screen = QGuiApplication::primaryScreen()) main->setGeometry(screen->availableGeometry());
    main->showMaximized();
    main->ReadCommandLine(arguments);

    w.entrada = new TFormEntrada(app, main.get());
    w.projeto = new TFormProjeto(app, main.get());
    w.exportGrd = new TFormExportGRD(app, dialogs, main.get());

    w.dados = new TFormDados(app, dialogs);
    main->addChild(w.dados, false)->show();
    // The source window enters the frame when it is first shown.
    w.source = new SourceWindow(app, main.get());
    w.source->hide();
    w.uncertainty = new UncertaintyWindow(app, dialogs, main.get());
    w.uncertainty->hide();

    w.grafico = new TFormGrafico(app, dialogs);
    ChildWindow* charts = main->addChild(w.grafico, true);
    charts->show();
    charts->showMinimized();
    w.mapa = new TFormMapa(app, dialogs);
    ChildWindow* map = main->addChild(w.mapa, true);
    map->showMinimized();
    w.calculando = new TFormCalculando(main.get());
    w.ferramenta = new TFormFerramenta(app, dialogs, main.get());
    w.animacao = new TFormAnimacao(app, dialogs);
    ChildWindow* animation = main->addChild(w.animacao, true);
    animation->showMinimized();

    w.observacao = new TObservacao(app, dialogs);
    ChildWindow* calibration = main->addChild(w.observacao, true);
    w.observacao->FormCreate();
    // Every window exists: the stored language is applied to them all, and the
    // splash shows (modal) before the calibration window appears.
    // Settings that cannot be read are reported once, here, and the program
    // starts in the language used when none is stored.
    Language language = Language::Portuguese;
    RunCommand(dialogs, [&language] { language = ChosenLanguage(); });
    const bool languageApplied = RunCommand(dialogs, [&app, language] { LoadLanguage(app, language); });
    if (languageApplied) w.entrada->showAtStartup();
    calibration->show();
    calibration->showMinimized();

    connectShowCommands(*main, w);
    main->connectCommand("ShowSource", [&app] { ShowSourceWindow(app); });
    main->connectCommand("ShowUncertainty", [&app] { ShowUncertaintyWindow(app); });
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w.dados->parentWidget()));
    OnActivation(main->mdiArea(), charts,
                 [&app, &dialogs] { RunCommand(dialogs, [&app] { app.windows.grafico->FormActivate(); }); });
    OnActivation(main->mdiArea(), map, [&app, &dialogs] { RunCommand(dialogs, [&app] { app.windows.mapa->FormActivate(); }); });
    OnActivation(main->mdiArea(), animation,
                 [&app, &dialogs] { RunCommand(dialogs, [&app] { app.windows.animacao->FormActivate(); }); });
    return main;
}

}  // namespace kavrin
