#include "frame/TFormPrincipal.h"

#include "frame/TFormEntrada.h"
#include "frame/TFormFerramenta.h"
#include "gui/ChildWindow.h"
#include "gui/CommandRunner.h"
#include "gui/HelpViewer.h"
#include "gui/MapVectorPainter.h"
#include "gui/SaveName.h"
#include "gui/Settings.h"
#include "views/PictureSaving.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace kavrin {

const char* const kMainCaption = "KAVRIN     Transporte de contaminantes em águas subterrâneas";
const char* const kStatusCredit = "KAVRIN — solução analítica 3-D de advecção e dispersão";

TFormPrincipal::TFormPrincipal(AppState& app, Dialogs& dialogs)
    : app_(app), dialogs_(dialogs), mdi_(new QMdiArea(this)), projects_(app, dialogs), simulation_(app, dialogs, projects_),
      files_(app, dialogs, projects_), projectPanel_(new QLabel)
{
    setObjectName("TFormPrincipal");
    setWindowTitle(QString::fromUtf8(kMainCaption));
    setWindowIcon(QIcon(app_.executableFolder + "pictures/kavrin.png"));
    mdi_->setObjectName("MdiArea");
    mdi_->setBackground(QColor(0x5a, 0x6e, 0x82));
    // On a small screen a window of its design size may not fit the frame:
    // the frame scrolls to reach every part of it.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    buildToolBar();
    buildMenu();
    auto* credit = new QLabel(QString::fromUtf8(kStatusCredit));
    credit->setObjectName("StatusPanel");
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(credit);
    projectPanel_->setObjectName("ProjectPanel");
    statusBar()->addPermanentWidget(projectPanel_);
    // No project yet; the workspace root read at start stays.
    const std::string root = app_.project.Root;
    app_.project = ProjectState{};
    app_.project.Root = root;

    connectCommand("Sobre1", [this] { Sobre1Click(); });
    connectCommand("Help1", [this] { Help1Click(); });
    connectCommand("Ferramanta", [this] { FerramantaClick(); });
    connectCommand("Sair1", [this] { close(); });
    connectCommand("ToolButton1", [this] { simulation_.ToolButton1Click(); });
    for (const char* name : {"ToolButton7", "Novo1"}) connectCommand(name, [this] { projects_.NewProject(); });
    for (const char* name : {"ToolButton3", "Abrir2"}) connectCommand(name, [this] { projects_.OpenProject(); });
    for (const char* name : {"ToolButton4", "Salvar2"}) connectCommand(name, [this] { projects_.SalvaProj(); });
    connectCommand("Abrir1", [this] { files_.AbreArq(); });
    connectCommand("Salvar1", [this] { files_.SalvaArq(); });
    using Format = FileCommands::Format;
    const QString gridFilter = QStringLiteral("Grd AscII (*.grd)");
    for (const char* name : {"ToolButton12", "odososArquivos2"})
        connectCommand(name, [this, gridFilter] { files_.ExportAllFiles(Format::Grid, gridFilter); });
    connectCommand("ToolButton13", [this] { files_.ExportAllFiles(Format::Table, QStringLiteral("Arquivo Text (*.txt)")); });
    connectCommand("odososArquivos1", [this] { files_.ExportAllFiles(Format::Table, QStringLiteral("Arquivo Texto (*.txt)")); });
    connectCommand("EscolherArquivo2", [this] { files_.ExportChosenFile(Format::Grid); });
    connectCommand("Mapajpeg1", [this] { Mapajpeg1Click(); });
    connectCommand("Escolherarquivo1", [this] { files_.ExportChosenFile(Format::Table); });
    connectCommand("ExportSiteMap", [this] { files_.ExportSiteMap(); });
    connectCommand("Graficos1", [this] { Graficos1Click(); });
    giveHelpTexts();
}

void TFormPrincipal::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    showProjectName();
    giveHelpTexts();
    action("ShowSource")->setText(app_.text(AddedText::SourceWindowCaption));
    action("ShowUncertainty")->setText(app_.text(AddedText::UncertaintyWindowCaption));
    action("ExportSiteMap")->setText(app_.text(AddedText::SiteExportMenu));
}

void TFormPrincipal::giveHelpTexts()
{
    using T = AddedText;
    dialogs_.setHelpTexts({app_.text(T::HelpBack), app_.text(T::HelpBackTip), app_.text(T::HelpForward),
                           app_.text(T::HelpForwardTip), app_.text(T::HelpHome), app_.text(T::HelpHomeTip),
                           app_.text(T::HelpOpenInBrowser), app_.text(T::HelpOpenInBrowserTip), app_.text(T::HelpNoBrowser)});
}

void TFormPrincipal::Mapajpeg1Click()
{
    const TFormMapa* map = app_.windows.mapa;
    if (!map->hasPicture()) {
        dialogs_.notice(app_.text(AddedText::NoMapToSave));
        return;
    }
    // The picture shown is saved as it is; another size is painted from its shapes.
    const QSize size = MapSaveSize();
    PictureSource picture = MapPictureSource(map->drawnMap(), size);
    if (map->picture().size() == size) picture.pixels = [map] { return map->picture(); };
    SavePicture(app_, dialogs_, picture, app_.text(AddedText::PictureFilterBitmap));
}

QAction* TFormPrincipal::makeAction(const char* name, const QString& text, int picture)
{
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (picture >= 0)
        action->setIcon(QIcon(app_.executableFolder + QString("pictures/toolbar-%1.png").arg(picture, 2, 10, QChar('0'))));
    return action;
}

QAction* TFormPrincipal::action(const char* name) const
{
    return findChild<QAction*>(name);
}

void TFormPrincipal::connectCommand(const char* actionName, const std::function<void()>& command)
{
    QAction* target = action(actionName);
    Q_ASSERT(target);
    connect(target, &QAction::triggered, this, [this, command] {
        RunCommand(dialogs_, command);
        showProjectName();
    });
}

void TFormPrincipal::showProjectName()
{
    const QString name = QString::fromStdString(app_.project.ProjectName);
    const QMenu* menu = findChild<QMenu*>("Projeto1");
    const QString caption = menu ? menu->title().remove('&') : QString();
    projectPanel_->setText(name.isEmpty() ? QString() : caption + ": " + name);
}

void TFormPrincipal::buildToolBar()
{
    auto* bar = addToolBar(QString());
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setIconSize(QSize(30, 30));
    struct Button {
        const char* name;
        int picture;  // -1: a separator
        const char* hint;
    };
    const Button buttons[] = {
        {"ToolButton1", 0, "Rodar"},
        {"ToolButton2", -1, ""},
        {"ToolButton7", 11, "Novo Projeto"},
        {"ToolButton3", 1, "Abrir Projeto"},
        {"ToolButton4", 2, "Salvar Projeto"},
        {"ToolButton5", -1, ""},
        {"ToolButton6", 3, "Dados"},
        {"ToolButton15", -1, ""},
        {"ToolButton9", 6, "Gráficos"},
        {"ToolButton10", 7, "Mapa"},
        {"ToolButton14", 13, ""},
        {"ToolButton11", -1, ""},
        {"ToolButton12", 8, "Exportar resultados para Arquivo *.grd"},
        {"ToolButton13", 10, "Exportar resultados para Tabela *.txt"},
        {"ToolButton8", -1, ""},
        {"ToolButton16", 12, ""},
    };
    for (const Button& button : buttons) {
        if (button.picture < 0) {
            bar->addSeparator()->setObjectName(button.name);
            continue;
        }
        QAction* action = makeAction(button.name, QString::fromUtf8(button.hint), button.picture);
        action->setToolTip(QString::fromUtf8(button.hint));
        bar->addAction(action);
    }
}

void TFormPrincipal::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");
    auto menu = [this](QWidget* parent, const char* name, const char* title) {
        auto* m = new QMenu(QString::fromUtf8(title), parent);
        m->setObjectName(name);
        if (auto* owner = qobject_cast<QMenuBar*>(parent)) owner->addMenu(m);
        if (auto* owner = qobject_cast<QMenu*>(parent)) owner->addMenu(m);
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const char* text, const QKeySequence& keys = {}) {
        QAction* a = makeAction(name, QString::fromUtf8(text));
        a->setShortcut(keys);
        m->addAction(a);
    };
    auto separator = [](QMenu* m, const char* name) { m->addSeparator()->setObjectName(name); };

    QMenu* arquivo = menu(bar, "Arquivo1", "Arquivo");
    item(arquivo, "Abrir1", "&Abrir");
    item(arquivo, "Salvar1", "&Salvar");
    separator(arquivo, "N1");
    item(arquivo, "Sair1", "Sair");

    QMenu* editar = menu(bar, "Editar1", "Editar");
    item(editar, "Ferramanta", "Ferramentas");
    separator(editar, "N3");
    QMenu* exportar = menu(editar, "Exportar1", "Exportar");
    QMenu* texto = menu(exportar, "extotxt1", "Arquivo Texto   *.txt");
    item(texto, "odososArquivos1", "Todos os Arquivos");
    item(texto, "Escolherarquivo1", "Escolher arquivo");
    QMenu* grade = menu(exportar, "GrdAscIIgrd1", "Grd AscII   *.grd");
    item(grade, "odososArquivos2", "Todos osArquivos");
    item(grade, "EscolherArquivo2", "Escolher Arquivo");
    item(exportar, "Graficos1", "Graficos *.jpeg");
    item(exportar, "Mapajpeg1", "Mapa *.jpeg");
    item(exportar, "ExportSiteMap", "Mapa do local (GIS)...");

    QMenu* projeto = menu(bar, "Projeto1", "Projeto");
    item(projeto, "Novo1", "Novo", QKeySequence(Qt::CTRL | Qt::Key_F1));
    item(projeto, "Abrir2", "Abrir", QKeySequence(Qt::CTRL | Qt::Key_F2));
    item(projeto, "Salvar2", "Salvar", QKeySequence(Qt::CTRL | Qt::Key_F3));

    QMenu* exibir = menu(bar, "Exibir1", "Exibir");
    item(exibir, "Dados1", "Dados", QKeySequence(Qt::Key_F5));
    item(exibir, "ShowSource", "Fonte", QKeySequence(Qt::CTRL | Qt::Key_F5));
    item(exibir, "Grficos1", "Gráficos", QKeySequence(Qt::Key_F6));
    item(exibir, "MapadePixels1", "Mapa", QKeySequence(Qt::Key_F7));
    item(exibir, "Calibrao1", "Calibração", QKeySequence(Qt::Key_F8));
    item(exibir, "ShowUncertainty", "Incerteza", QKeySequence(Qt::CTRL | Qt::Key_F8));
    separator(exibir, "N4");
    item(exibir, "Animao1", "Animação", QKeySequence(Qt::CTRL | Qt::Key_F7));

    QMenu* ajuda = menu(bar, "Ajuda1", "Ajuda");
    item(ajuda, "Sobre1", "So&bre");
    separator(ajuda, "N2");
    item(ajuda, "Help1", "&Help", QKeySequence(Qt::Key_F1));
}

ChildWindow* TFormPrincipal::addChild(QWidget* form, bool maximizable)
{
    auto* child = new ChildWindow(form, maximizable);
    child->setObjectName(form->objectName() + "Window");
    mdi_->addSubWindow(child);
    return child;
}

void TFormPrincipal::showWindow(QWidget* form, bool restore)
{
    auto* child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QWidget* window = child ? static_cast<QWidget*>(child) : form;
    if (restore && window->isMinimized()) window->showNormal();
    if (!window->isVisible()) window->show();
    // A window lies inside the frame's visible part, so its title bar and
    // every control can be reached.
    if (auto* own = dynamic_cast<ChildWindow*>(child))
        own->fitInsideArea();
    else if (child && (child->y() < 0 || child->x() < 0))
        child->move(qMax(0, child->x()), qMax(0, child->y()));
    if (child) mdi_->setActiveSubWindow(child);
    window->raise();
    form->activateWindow();
}

void TFormPrincipal::ReadCommandLine(const QStringList& arguments)
{
    app_.commandLine.StartedWithProject = false;
    app_.commandLine.OpenCommandLineProject = false;
    if (arguments.isEmpty() || !QFileInfo(arguments.first()).isFile()) return;
    app_.commandLine.CommandLineProject = arguments.first();
    app_.commandLine.OpenCommandLineProject = true;
    app_.commandLine.StartedWithProject = true;
}

void TFormPrincipal::Help1Click()
{
    dialogs_.openDocument(app_.executableFolder + (ChosenLanguage() == Language::English ? "HELPE.html" : "HELPP.html"));
}

void TFormPrincipal::Sobre1Click()
{
    app_.windows.entrada->showAbout();
}

void TFormPrincipal::FerramantaClick()
{
    app_.windows.ferramenta->exec();
}

void TFormPrincipal::Graficos1Click()
{
    SaveChartPicture(app_, dialogs_, app_.windows.grafico->shownChart(), app_.text(AddedText::PictureFilterBitmap));
}

void TFormPrincipal::closeEvent(QCloseEvent* event)
{
    if (simulation_.running()) {  // the run's files are being written
        event->ignore();
        return;
    }
    bool closing = false;
    RunCommand(dialogs_, [&] { closing = projects_.FormClose(); });
    if (closing) {
        // Frames being made would go on to the last time before the program ends.
        app_.windows.animacao->stopMakingFrames();
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace kavrin
