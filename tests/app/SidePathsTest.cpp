// Saving, opening, running and quitting while results exist: nothing the user
// has is lost on the way, and every save writes the name the user typed.
#include "RunFixture.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "gui/SaveName.h"
#include "text/AddedTexts.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

TEST(SaveNames, TheExtensionIsAppendedOnlyWhenTheNameLacksIt)
{
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case projects[] = {{"/t/Pluma1", "/t/Pluma1.kvr"},
                             {"/t/Pluma1.kvr", "/t/Pluma1.kvr"},
                             {"/t/Pluma1.KVR", "/t/Pluma1.KVR"},
                             {"/t/Pluma1.kvr.txt", "/t/Pluma1.kvr.txt.kvr"},
                             {"/t/.kvr", "/t/.kvr.kvr"}};
    for (const Case& c : projects) EXPECT_EQ(WithExtension(c.chosen, kProjectExtension), QString(c.written)) << c.chosen;
    const Case pictures[] = {{"/t/grafico", "/t/grafico.jpeg"},
                             {"/t/grafico.jpeg", "/t/grafico.jpeg"},
                             {"/t/grafico.jpg", "/t/grafico.jpg"},
                             {"/t/grafico.png", "/t/grafico.png.jpeg"}};
    for (const Case& c : pictures) EXPECT_EQ(PictureSaveName(c.chosen), QString(c.written)) << c.chosen;
    EXPECT_EQ(WithoutExtension("/t/res.grd", kGridExtension), "/t/res");
    EXPECT_EQ(WithoutExtension("/t/res", kGridExtension), "/t/res");
}

TEST(SaveNames, EverySaveCommandWritesTheNameTyped)
{
    struct Case {
        const char* action;
        const char* typed;
        std::vector<const char*> written;
    };
    const Case cases[] = {
        {"Salvar2", "Pluma1.kvr", {"Pluma1.kvr"}},
        {"Salvar1", "par.dat", {"par.dat"}},
        {"Graficos1", "grafico.jpeg", {"grafico.jpeg"}},
        {"odososArquivos2", "res.grd", {"resT0.grd", "resT2500.grd"}},
        {"odososArquivos1", "tab.txt", {"tabT0.txt", "tabT2500.txt"}},
    };
    for (const Case& c : cases) {
        RunFixture f;
        f.runAs("Teste");
        f.dialogs.files = {QString::fromStdString(f.folder.path() + c.typed)};
        f.main->action(c.action)->trigger();
        EXPECT_TRUE(f.dialogs.errors.isEmpty()) << c.action << " " << f.dialogs.errors.join(" ").toStdString();
        for (const char* name : c.written)
            EXPECT_TRUE(std::filesystem::exists(f.folder.path() + name)) << c.action << " " << name;
        const std::string doubled = f.folder.path() + c.typed + std::filesystem::path(c.typed).extension().string();
        EXPECT_FALSE(std::filesystem::exists(doubled)) << doubled;
    }
}

TEST(SaveNames, AMapPictureWithNoMapDrawnSaysThereIsNothingToSave)
{
    RunFixture f;
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::NoMapToSave)});
    EXPECT_EQ(f.dialogs.saveRequests, 0);
}

TEST(AutomaticDeletion, WaitsForTheNewRunAndNeverTouchesASavedProject)
{
    for (bool saved : {false, true}) {
        RunFixture f;
        f.runAs("Old");
        if (saved) {
            f.dialogs.files = {QString::fromStdString(f.folder.path() + "old")};
            f.main->action("Salvar2")->trigger();
            ASSERT_TRUE(f.app.project.ProjectSaved);
        }
        f.app.settings.AutoDeleteData = true;
        f.run();  // the name window is cancelled
        EXPECT_TRUE(f.exists("Old/T0.txt")) << saved;
        EXPECT_EQ(f.app.project.ProjectName, "Old") << saved;
        EXPECT_TRUE(f.app.project.ResultsExist) << saved;
        EXPECT_EQ(f.app.project.ProjectSaved, saved);

        f.runAs("New");
        EXPECT_TRUE(f.exists("New/T0.txt")) << saved;
        EXPECT_EQ(f.exists("Old/T0.txt"), saved) << "only unsaved results go, once the new run starts";
        EXPECT_TRUE(f.dialogs.questions.isEmpty());
    }
}

TEST(Quitting, ACancelledSaveDialogKeepsTheProgramAndItsResults)
{
    RunFixture f;
    f.runAs("Teste");
    f.dialogs.answers = {Answer::Yes, Answer::Yes};  // quit: yes; save: yes; then the save dialog is cancelled
    EXPECT_FALSE(f.main->close());
    EXPECT_EQ(f.dialogs.saveRequests, 1);
    EXPECT_TRUE(f.exists("Teste/T0.txt"));
    EXPECT_FALSE(f.app.project.ProjectSaved);

    f.app.settings.AutoSaveProjects = true;
    f.dialogs.answers = {Answer::Yes};
    EXPECT_FALSE(f.main->close()) << "saving automatically, the dialog cancelled";
    EXPECT_TRUE(f.exists("Teste/T0.txt"));
}

TEST(OpeningWhileResultsAreUnsaved, AsksAsRunDoes)
{
    for (const char* action : {"Abrir2", "Abrir1"}) {
        RunFixture f;
        f.runAs("Teste");
        f.dialogs.answers = {Answer::Cancel};
        f.dialogs.files = {QString::fromStdString(f.folder.path() + "any")};
        f.main->action(action)->trigger();
        EXPECT_EQ(f.dialogs.questions, QStringList{f.app.messages.MsgAskSaveProject}) << action;
        EXPECT_EQ(f.dialogs.files.size(), 1u) << "Cancel: no file is asked for";
        EXPECT_TRUE(f.app.project.ResultsExist);
        EXPECT_EQ(f.app.project.ProjectName, "Teste");

        f.dialogs.answers = {Answer::No};  // then the file dialog is cancelled: the results stay
        f.dialogs.files.clear();
        f.main->action(action)->trigger();
        EXPECT_TRUE(f.exists("Teste/T0.txt")) << action;
        EXPECT_EQ(f.app.project.ProjectName, "Teste") << action;
    }
}

TEST(SavingAfterTyping, AsksBeforeSavingTheRunsParametersAndNeverDropsSilently)
{
    RunFixture f;
    f.runAs("Teste");
    f.type(13, "1250");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "p")};
    f.dialogs.answers = {Answer::No};
    f.main->action("Salvar2")->trigger();
    EXPECT_EQ(f.dialogs.questions, QStringList{f.app.text(AddedText::SaveWithRunParameters)});
    EXPECT_EQ(f.dialogs.saveRequests, 0);
    EXPECT_FALSE(f.app.project.ProjectSaved);

    f.dialogs.answers = {Answer::Yes};
    f.main->action("Salvar2")->trigger();
    const std::vector<std::string> lines = CrLfLines(ReadBytes(f.folder.path() + "p.kvr"));
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_NE(lines[13], "1250") << "the results' own parameters";
    EXPECT_TRUE(f.app.project.ProjectSaved);
    EXPECT_EQ(f.app.windows.dados->Edit[13]->text(), "1250") << "the typed value stays in the window";
}

TEST(Quitting, ValuesTypedSinceTheRunAreNotDroppedOnTheWayOut)
{
    for (const bool autoSave : {false, true}) {
        RunFixture f;
        f.runAs("Teste");
        f.type(13, "1250");
        f.app.settings.AutoSaveProjects = autoSave;
        f.dialogs.files = {QString::fromStdString(f.folder.path() + "p")};
        // quit: yes; (save: yes;) save the run's parameters instead of the typed ones: no
        f.dialogs.answers =
            autoSave ? std::deque<Answer>{Answer::Yes, Answer::No} : std::deque<Answer>{Answer::Yes, Answer::Yes, Answer::No};
        EXPECT_FALSE(f.main->close()) << autoSave;
        EXPECT_EQ(f.dialogs.questions.last(), f.app.text(AddedText::SaveWithRunParameters)) << autoSave;
        EXPECT_EQ(f.dialogs.saveRequests, 0) << autoSave;
        EXPECT_TRUE(f.exists("Teste/T0.txt")) << autoSave;
        EXPECT_EQ(f.app.windows.dados->Edit[13]->text(), "1250") << autoSave;
    }
}

// A new run, an opened project or a parameter file gives the results up: the
// map, the chart and the animation no longer show them under the new name.
TEST(ResultsGivenUp, TheViewsNoLongerShowThem)
{
    for (const char* action : {"ToolButton1", "Abrir1", "Abrir2"}) {
        RunFixture f;
        f.runAs("Old");
        f.main->showWindow(f.app.windows.mapa, true);
        f.app.windows.mapa->ComboBox1->setEditText("2500");
        f.app.windows.mapa->BitBtn1->click();
        ASSERT_FALSE(f.app.windows.mapa->picture().isNull());
        TFormGrafico* charts = f.app.windows.grafico;
        f.main->showWindow(charts, true);
        charts->ComboBox2->lineEdit()->setText(QString::fromUtf8("Concentração x Tempo"));
        emit charts->ComboBox2->lineEdit()->textEdited(charts->ComboBox2->lineEdit()->text());
        charts->BitBtn1->click();
        ASSERT_FALSE(charts->Series1->points().isEmpty());

        const std::string project = f.folder.path() + "p.kvr";
        if (std::string(action) == "Abrir2") {
            WriteProjectFile(project, "Old", "12-12-26 00:00:00", f.app.resultsTexts, f.app.project.Root);
            f.dialogs.files = {QString::fromStdString(project)};
        } else if (std::string(action) == "Abrir1") {
            WriteParameterFile(f.folder.path() + "p.dat", f.app.texts);
            f.dialogs.files = {QString::fromStdString(f.folder.path() + "p.dat")};
        }
        f.dialogs.answers = {Answer::No};
        f.dialogs.projectNames = {QString("New")};
        f.main->action(action)->trigger();
        EXPECT_TRUE(f.app.windows.mapa->picture().isNull()) << action;
        EXPECT_TRUE(charts->Series1->points().isEmpty()) << action;
        EXPECT_TRUE(f.app.windows.animacao->Image.isEmpty()) << action;
    }
}
