#include "RunFixture.h"
#include "files/ProjectFile.h"
#include "project/TFormProjeto.h"
#include "views/TFormGrafico.h"

#include <QComboBox>
#include <QLineSeries>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

TEST(SaveProject, NeedsResultsAndAppendsTheExtensionOnce)
{
    RunFixture f;
    f.main->action("ToolButton4")->trigger();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgSaveNeedsResults});

    f.runAs("Teste");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "proj.kvr")};
    f.main->action("Salvar2")->trigger();
    const std::string bytes = ReadBytes(f.folder.path() + "proj.kvr");
    const std::vector<std::string> lines = CrLfLines(bytes);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines[0], "Teste");
    EXPECT_EQ(lines[8], "10");  // Edit7, DX
    EXPECT_EQ(lines[24], f.root() + "Teste/index.txt");
    EXPECT_TRUE(f.app.project.ProjectSaved);
}

TEST(OpenProject, ARoundTripAcrossDecimalSeparators)
{
    RunFixture writer;
    writer.type(1, "0,5");  // typed with a comma on a point system; kept as typed
    writer.runAs("Teste");
    const std::string saved = writer.folder.path() + "p";
    writer.dialogs.files = {QString::fromStdString(saved)};
    writer.main->action("ToolButton4")->trigger();

    kavrin::test::GuiFixture reader;
    reader.app.separator = ',';
    reader.start();
    reader.dialogs.files = {QString::fromStdString(saved + ".kvr")};
    reader.main->action("Abrir2")->trigger();
    EXPECT_TRUE(reader.dialogs.errors.isEmpty()) << reader.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(reader.app.windows.dados->Edit[1]->text(), "0,5");
    EXPECT_EQ(reader.app.windows.dados->Edit[15]->text(), "0.2") << "texts come back as written";
    EXPECT_EQ(reader.app.model.C0, 0.5);
    EXPECT_EQ(reader.app.model.DX, 10);
    EXPECT_EQ(reader.app.project.ProjectName, "Teste");
    EXPECT_EQ(reader.app.project.ProjectIndexPath, writer.root() + "Teste/index.txt");
    EXPECT_TRUE(reader.app.project.ResultsExist);
}

TEST(OpenProject, AFieldThatDoesNotConvertRefusesTheFileAndChangesNothing)
{
    RunFixture f;
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[7] = "abc";
    const std::string path = f.folder.path() + "bad.kvr";
    WriteProjectFile(path, "Bad", "today", texts, f.root());
    f.dialogs.files = {QString::fromStdString(path)};
    f.main->action("ToolButton3")->trigger();
    EXPECT_EQ(f.dialogs.errors,
              QStringList{QString::fromStdString(path + ", line 9: \"abc\" is not a number; this is not a project file.")});
    EXPECT_FALSE(f.app.project.ResultsExist);
    EXPECT_EQ(f.app.project.ProjectName, "");
    EXPECT_EQ(f.app.windows.dados->Edit[7]->text(), "10");
}

TEST(NewProject, NewValuesTheOrderStaysAndResultsAreLeftAlone)
{
    RunFixture f;
    f.app.windows.dados->ComboBox1->setCurrentText("104");
    f.runAs("Teste");
    f.app.separator = ',';
    f.app.windows.grafico->Series1->append(1, 1);
    f.main->action("Novo1")->trigger();
    EXPECT_TRUE(f.app.windows.projeto->isVisible());
    EXPECT_FALSE(f.app.windows.projeto->isModal());
    EXPECT_EQ(f.app.windows.dados->Edit[1]->text(), "1000");
    EXPECT_EQ(f.app.windows.dados->Edit[15]->text(), "0,2");
    EXPECT_EQ(f.app.windows.dados->Edit[10]->text(), "-200");
    EXPECT_EQ(f.app.windows.dados->ComboBox1->currentText(), "104");
    EXPECT_EQ(f.app.windows.grafico->Series1->count(), 0);
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_EQ(f.app.project.ProjectName, "Teste");
}

TEST(Closing, ThePolicyDecidesWhatHappensToTheResults)
{
    struct Case {
        const char* name;
        bool autoDelete, autoSave, saved, startedWithProject;
        int questions;  // MsgConfirmExit, plus MsgAskSaveProject when asked
        bool folderRemains;
        bool saveDialog;
    };
    const Case cases[] = {
        {"ask, unsaved: No deletes", false, false, false, false, 2, false, false},
        {"ask, saved: no question", false, false, true, false, 1, true, false},
        {"started with a project: no question", false, false, false, true, 1, true, false},
        {"delete automatically, unsaved", true, false, false, false, 1, false, false},
        {"delete automatically never deletes a saved project", true, false, true, false, 1, true, false},
        {"save automatically", false, true, false, false, 1, true, true},
    };
    for (const Case& c : cases) {
        RunFixture f;
        f.runAs("Teste");
        f.app.settings = {c.autoSave, c.autoDelete};
        f.app.project.ProjectSaved = c.saved;
        f.app.commandLine.StartedWithProject = c.startedWithProject;
        f.dialogs.answers = {Answer::Yes, Answer::No};
        f.dialogs.files = {QString::fromStdString(f.folder.path() + "saved")};
        EXPECT_TRUE(f.main->close()) << c.name;
        EXPECT_EQ(f.dialogs.questions.size(), c.questions) << c.name;
        EXPECT_EQ(f.exists("Teste/T0.txt"), c.folderRemains) << c.name;
        EXPECT_EQ(f.dialogs.saveRequests > 0, c.saveDialog) << c.name;
    }
}

TEST(Closing, AProjectFileNamingAFolderOutsideTheWorkspaceDeletesNothing)
{
    RunFixture f;
    std::filesystem::create_directories(f.folder.path() + "precious");
    kavrin::test::WriteBytes(f.folder.path() + "precious/data.txt", "keep");
    for (const char* name : {"../precious", "..", ""}) {
        WriteProjectFile(f.folder.path() + "evil.kvr", name, "today", InitialParameterTexts(), f.root());
        f.dialogs.files = {QString::fromStdString(f.folder.path() + "evil.kvr")};
        f.main->action("Abrir2")->trigger();
        f.app.settings.AutoDeleteData = true;
        f.dialogs.answers = {Answer::Yes};
        f.main->close();
    }
    EXPECT_EQ(ReadBytes(f.folder.path() + "precious/data.txt"), "keep");
}

TEST(CommandLine, AProjectFileGivenAtStartIsOpenBeforeTheDataWindowShows)
{
    const ParameterTexts texts = [] {
        ParameterTexts t = InitialParameterTexts();
        t.edit[6] = "200";
        t.comboBox1 = "256";
        return t;
    }();
    kavrin::test::TempFolder files;
    WriteProjectFile(files.path() + "start.kvr", "Started", "today", texts, "/nowhere/");
    RunFixture f({QString::fromStdString(files.path() + "start.kvr")});
    EXPECT_EQ(f.app.windows.dados->Edit[6]->text(), "200");
    EXPECT_EQ(f.app.model.X1, 200);
    EXPECT_EQ(f.app.model.GaussOrder, 256);
    EXPECT_EQ(f.app.project.ProjectName, "Started");
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_FALSE(f.app.commandLine.OpenCommandLineProject);
    f.dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(f.main->close());
    EXPECT_EQ(f.dialogs.questions.size(), 1) << "only the exit is confirmed";
}

TEST(OpenProject, AProjectSavedBeforeAnyRunHasNoResultsUntilItRuns)
{
    RunFixture f;
    ParameterTexts texts = InitialParameterTexts();
    texts.edit[7] = "10";
    texts.edit[9] = "10";
    texts.edit[14] = "1.5";
    const std::string path = f.folder.path() + "fitted.kvr";
    WriteUnrunProjectFile(path, "Plume", "today", texts);
    f.dialogs.files = {QString::fromStdString(path)};
    f.main->action("Abrir2")->trigger();
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.app.windows.dados->Edit[14]->text(), "1.5");
    EXPECT_EQ(f.app.project.ProjectName, "Plume");
    EXPECT_FALSE(f.app.project.ResultsExist);
    f.main->action("ToolButton4")->trigger();  // nothing to save yet
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgSaveNeedsResults});

    f.run();  // under the project's own name, with no question about earlier results
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"Plume"});
}
