#include "GuiFixture.h"
#include "frame/TFormEntrada.h"
#include "frame/TFormFerramenta.h"
#include "gui/Settings.h"
#include "observations/TObservacao.h"
#include "project/TFormCalculando.h"
#include "project/TFormDados.h"
#include "project/TFormExportGRD.h"
#include "project/TFormProjeto.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

namespace {

QMdiSubWindow* frameOf(QWidget* form)
{
    return qobject_cast<QMdiSubWindow*>(form->parentWidget());
}

}  // namespace

TEST(Startup, CreatesTheElevenWindowsInTheirFirstStates)
{
    GuiFixture f;
    f.start();
    const Windows& w = f.app.windows;
    EXPECT_TRUE(f.main->isVisible());
    EXPECT_TRUE(f.main->windowTitle().startsWith("KAVRIN     "));
    EXPECT_FALSE(w.entrada->isVisible()) << "the splash has closed itself";
    for (QWidget* hidden : std::initializer_list<QWidget*>{w.projeto, w.exportGrd, w.calculando, w.ferramenta})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    ASSERT_TRUE(frameOf(w.dados));
    EXPECT_TRUE(frameOf(w.dados)->isVisible());
    EXPECT_FALSE(frameOf(w.dados)->isMinimized());
    for (QWidget* child : std::initializer_list<QWidget*>{w.grafico, w.mapa, w.animacao, w.observacao})
        EXPECT_TRUE(frameOf(child)->isMinimized()) << child->objectName().toStdString();
    EXPECT_EQ(f.main->mdiArea()->subWindowList().size(), 5);
    EXPECT_EQ(frameOf(w.dados)->windowFlags() & Qt::WindowMaximizeButtonHint, 0);
}

TEST(Startup, TheDataWindowFillsTheModelFromItsTexts)
{
    GuiFixture f;
    f.start();
    EXPECT_DOUBLE_EQ(f.app.model.Velocity, 0.025);
    EXPECT_EQ(f.app.model.NX, 100);
    EXPECT_EQ(f.app.model.GaussOrder, 60);
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(Startup, CommasShowWhereTheSeparatorIsAComma)
{
    GuiFixture f;
    f.app.separator = ',';
    f.start();
    EXPECT_EQ(f.app.windows.dados->Edit[1]->text(), "0,5");
    EXPECT_EQ(f.app.windows.dados->Edit[21]->text(), "0,00002");
    EXPECT_EQ(f.app.model.C0, 0.5);
}

TEST(Startup, TheStoredLanguageIsAppliedAndTheMessagesFilled)
{
    GuiFixture f;
    f.storeSetting("Language", "English");
    f.start();
    EXPECT_FALSE(f.app.PortugueseActive);
    EXPECT_EQ(f.app.messages.MsgConfirmExit, "Do you really want to quit KAVRIN?");
    EXPECT_EQ(f.main->action("Abrir2")->text(), "&Open");

    GuiFixture other;
    other.storeSetting("Language", "english");  // only the exact text means English
    other.start();
    EXPECT_TRUE(other.app.PortugueseActive);
    EXPECT_EQ(other.main->action("Abrir2")->text(), "&Abrir");
}

TEST(Startup, AMissingLanguageFileIsReportedAndStartUpGoesOn)
{
    GuiFixture f;
    const std::string empty = f.folder.path() + "bin/";
    std::filesystem::create_directories(empty);
    f.start({}, QString::fromStdString(empty));
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].startsWith("I/O error 2")) << f.dialogs.errors[0].toStdString();
    EXPECT_TRUE(f.app.PortugueseActive);
    EXPECT_EQ(f.app.messages.MsgConfirmExit, "");
    EXPECT_EQ(f.app.windows.dados->findChild<QLabel*>("Label2")->text(), QString::fromUtf8("Dimensão da fonte em Y (m):"));
    EXPECT_TRUE(frameOf(f.app.windows.observacao)->isMinimized());
}

TEST(Startup, ASettingsFileThatIsNotAFileIsReportedOnce)
{
    for (const bool user : {true, false}) {
        GuiFixture f;
        const QString file = user ? UserSettingsFile() : MachineSettingsFile();
        std::filesystem::create_directories(std::filesystem::path(file.toStdString()).parent_path());
        ASSERT_EQ(::mkfifo(file.toStdString().c_str(), 0600), 0);
        f.start();
        ASSERT_EQ(f.dialogs.errors.size(), 1) << f.dialogs.errors.join(" | ").toStdString();
        EXPECT_EQ(f.dialogs.errors[0], file + " is not a file (a folder, a device or a pipe); choose a file.");
        // The program starts as when nothing is stored: in Portuguese, its language file applied.
        EXPECT_TRUE(f.app.PortugueseActive);
        EXPECT_NE(f.app.messages.MsgConfirmExit, "");
        EXPECT_TRUE(f.app.windows.ferramenta->RadioButton5->isChecked());
        EXPECT_TRUE(f.app.windows.ferramenta->RadioButton3->isChecked());
    }
}

TEST(Startup, TheFirstArgumentNamesTheCommandLineProject)
{
    GuiFixture f;
    const std::string project = f.folder.path() + "p.kvr";
    kavrin::test::WriteBytes(project, "x");
    AppState& app = f.app;
    f.start({QString::fromStdString(project), "second"});
    EXPECT_TRUE(app.commandLine.StartedWithProject);
    EXPECT_EQ(app.commandLine.CommandLineProject.toStdString(), project);

    f.main->ReadCommandLine({QString::fromStdString(f.folder.path() + "missing.kvr")});
    EXPECT_FALSE(app.commandLine.StartedWithProject);
    EXPECT_FALSE(app.commandLine.OpenCommandLineProject);
}

TEST(ShowCommands, ShowRestoreAndCloseToMinimise)
{
    GuiFixture f;
    f.start();
    const Windows& w = f.app.windows;
    QMdiSubWindow* data = frameOf(w.dados);
    data->close();
    EXPECT_TRUE(data->isMinimized()) << "closing a child window minimises it";
    EXPECT_TRUE(data->isVisible());

    f.main->action("Dados1")->trigger();  // F5: to the front, still minimised
    EXPECT_TRUE(data->isMinimized());
    EXPECT_EQ(f.main->mdiArea()->activeSubWindow(), data);
    f.main->action("ToolButton6")->trigger();
    EXPECT_FALSE(data->isMinimized());

    QMdiSubWindow* calibration = frameOf(w.observacao);
    f.main->action("Calibrao1")->trigger();  // F8 restores a minimised window
    EXPECT_FALSE(calibration->isMinimized());
    f.main->action("Dados1")->trigger();
    f.main->action("Calibrao1")->trigger();  // and leaves a normal one where it is
    EXPECT_NE(f.main->mdiArea()->activeSubWindow(), calibration);
    f.main->action("ToolButton16")->trigger();
    EXPECT_EQ(f.main->mdiArea()->activeSubWindow(), calibration);

    for (const char* name : {"ToolButton9", "ToolButton10", "ToolButton14"}) {
        f.main->action(name)->trigger();
        EXPECT_FALSE(f.main->mdiArea()->activeSubWindow()->isMinimized()) << name;
    }
}

TEST(ShowCommands, AboutShowsTheSplashUntilItsTimerFires)
{
    GuiFixture f;
    f.app.splashMilliseconds = 50;
    f.start();
    f.main->action("Sobre1")->trigger();
    EXPECT_TRUE(f.app.windows.entrada->isVisible());
    EXPECT_TRUE(f.app.windows.entrada->findChild<QLabel*>("Entrada")->pixmap().width() > 0) << "the JPEG splash decodes";
    QTest::qWait(300);
    EXPECT_FALSE(f.app.windows.entrada->isVisible());
}

TEST(Help, TheStoredLanguageChoosesThePage)
{
    const std::pair<const char*, const char*> cases[] = {{"English", "HELPE.html"}, {"Port", "HELPP.html"}, {"", "HELPP.html"}};
    for (const auto& [language, page] : cases) {
        GuiFixture f;
        if (*language) f.storeSetting("Language", language);
        f.start();
        f.main->action("Help1")->trigger();
        ASSERT_EQ(f.dialogs.documents.size(), 1) << language;
        EXPECT_EQ(f.dialogs.documents[0], f.app.executableFolder + page);
        EXPECT_TRUE(QFileInfo::exists(f.dialogs.documents[0])) << page;
    }
}

// F1 is the Help command's, and no other command of the program has it.
TEST(Help, F1OpensTheHelpAndIsNoOtherCommandsShortcut)
{
    GuiFixture f;
    f.start();
    EXPECT_EQ(f.main->action("Help1")->shortcut(), QKeySequence(Qt::Key_F1));
    QApplication::setActiveWindow(f.main.get());
    QTest::keyClick(f.main.get(), Qt::Key_F1);
    ASSERT_EQ(f.dialogs.documents.size(), 1);
    EXPECT_EQ(f.dialogs.documents[0], f.app.executableFolder + "HELPP.html");

    // Every child window's frame menu has the same Close (Ctrl+F4, Ctrl+W), for itself alone.
    QList<QAction*> frameMenus;
    for (QMdiSubWindow* child : f.main->findChildren<QMdiSubWindow*>())
        if (child->systemMenu()) frameMenus << child->systemMenu()->actions();
    QStringList shortcuts;
    for (QWidget* window : QApplication::topLevelWidgets())
        for (QAction* action : window->findChildren<QAction*>())
            if (!frameMenus.contains(action))
                for (const QKeySequence& keys : action->shortcuts()) shortcuts << keys.toString(QKeySequence::PortableText);
    EXPECT_EQ(shortcuts.count("F1"), 1) << shortcuts.join(' ').toStdString();
    EXPECT_EQ(shortcuts.removeDuplicates(), 0) << shortcuts.join(' ').toStdString();
}

TEST(Closing, AskedFirstAndRefusedUnlessYes)
{
    GuiFixture f;
    f.start();
    f.dialogs.answers = {Answer::No};
    EXPECT_FALSE(f.main->close());
    EXPECT_EQ(f.dialogs.questions.value(0), f.app.messages.MsgConfirmExit);
    f.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(f.main->close());
}
