#include "RunFixture.h"
#include "project/TFormCalculando.h"
#include "project/TFormDados.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

TEST(RunCommand, AFirstRunWithANameWritesTheProjectAndReportsIt)
{
    RunFixture f;
    f.dialogs.projectNames = {QString("Teste")};
    f.run();
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgRunFinished});
    for (const char* file : {"Teste/Index.txt", "Teste/T0.txt", "Teste/T2500.txt"}) EXPECT_TRUE(f.exists(file)) << file;
    EXPECT_EQ(kavrin::test::CrLfLines(kavrin::test::ReadBytes(f.root() + "Teste/T2500.txt")).size(), 7u);
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_FALSE(f.app.project.ProjectSaved);
    EXPECT_EQ(f.app.project.ProjectIndexPath, f.root() + "Teste/Index.txt");
    EXPECT_EQ(f.app.windows.calculando->PBar->value(), 100);
    EXPECT_FALSE(f.app.windows.calculando->isVisible());
    EXPECT_TRUE(f.main->findChild<QToolBar*>("ToolBar1")->isEnabled());
    EXPECT_TRUE(f.app.windows.dados->isEnabled());
    EXPECT_NEAR(f.app.grid.at(2, 4), 0.5 * 0.567010, 1e-6) << "the grid holds the last time: x = 10, y = 0";
}

TEST(RunCommand, CancelInTheNameWindowStopsSilently)
{
    RunFixture f;
    f.run();  // no scripted name: Cancel
    EXPECT_TRUE(f.projectFolders().empty());
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    EXPECT_FALSE(f.app.project.ResultsExist);
    f.dialogs.projectNames = {QString("Again")};
    f.run();
    EXPECT_EQ(f.dialogs.projectNameRequests, 2);
    EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"Again"});
}

TEST(RunCommand, AnEmptyNameGivesTheDateAndTime)
{
    RunFixture f;
    f.dialogs.projectNames = {QString()};
    f.run();
    const std::vector<std::string> folders = f.projectFolders();
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].find_first_of("/:"), std::string::npos) << folders[0];
    EXPECT_GT(folders[0].size(), 5u);
    EXPECT_EQ(f.app.project.ProjectName, folders[0]);
}

TEST(RunCommand, NamesThatWouldLeaveTheWorkspaceAreRefused)
{
    RunFixture f;
    f.dialogs.projectNames = {QString("../escape")};
    f.run();
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(f.folder.path() + "escape"));
    EXPECT_TRUE(f.projectFolders().empty());
    EXPECT_EQ(f.app.project.ProjectName, "");
    EXPECT_TRUE(f.main->findChild<QToolBar*>("ToolBar1")->isEnabled());
}

TEST(RunCommand, TakenNamesGetSuffixesUpToEleven)
{
    RunFixture f;
    f.app.settings.AutoSaveProjects = true;  // the save dialog is cancelled each time
    for (int run = 0; run < 11; ++run) {
        f.dialogs.projectNames.push_back(QString("Teste"));
        f.run();
    }
    EXPECT_EQ(f.projectFolders().size(), 11u);
    EXPECT_TRUE(f.exists("Teste(10)/T0.txt"));
    EXPECT_TRUE(f.exists("Teste(11)/T0.txt"));
    EXPECT_TRUE(f.dialogs.questions.isEmpty()) << "automatic saving asks nothing";
}

TEST(RunCommand, ThePolicyForEarlierResults)
{
    {
        RunFixture f;  // delete automatically: no question
        f.dialogs.projectNames = {QString("Old"), QString("New")};
        f.run();
        f.app.settings.AutoDeleteData = true;
        f.run();
        EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"New"});
        EXPECT_TRUE(f.dialogs.questions.isEmpty());
    }
    {
        RunFixture f;  // ask: Cancel keeps everything
        f.dialogs.projectNames = {QString("Old")};
        f.run();
        f.dialogs.answers = {Answer::Cancel};
        f.run();
        EXPECT_EQ(f.dialogs.questions, QStringList{f.app.messages.MsgAskSaveProject});
        EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"Old"});
        EXPECT_TRUE(f.app.project.ResultsExist);
        EXPECT_EQ(f.app.project.ProjectName, "Old");
    }
    {
        RunFixture f;  // ask: No deletes the old folder and runs under a new name
        f.dialogs.projectNames = {QString("Old"), QString("New")};
        f.run();
        f.dialogs.answers = {Answer::No};
        f.run();
        EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"New"});
    }
    {
        RunFixture f;  // ask: Yes saves the project file first
        f.dialogs.projectNames = {QString("Old"), QString("New")};
        f.run();
        f.dialogs.answers = {Answer::Yes};
        f.dialogs.files = {QString::fromStdString(f.folder.path() + "old")};
        f.run();
        EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "old.kvr"));
        EXPECT_EQ(f.projectFolders(), (std::vector<std::string>{"New", "Old"}));
    }
}

TEST(RunCommand, EachGridCheckShowsItsMessageAndWritesNothing)
{
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        QString MessageSlots::*message;
    };
    const Case cases[] = {
        {{{9, "1"}, {10, "-226"}}, &MessageSlots::MsgGridTooLargeY},
        {{{7, "1"}, {6, "451"}}, &MessageSlots::MsgGridTooLargeX},
        {{{6, "60"}, {10, "-40"}}, &MessageSlots::MsgYRangeExceedsX},
        {{{10, "-10"}}, &MessageSlots::MsgYRangeNotAboveSourceWidth},
        {{{13, "0"}}, &MessageSlots::MsgTimeStepInvalid},
        {{{12, "-1"}}, &MessageSlots::MsgTimeRangeEmpty},
    };
    for (const Case& c : cases) {
        RunFixture f;
        for (const auto& [edit, text] : c.texts) f.type(edit, text);
        f.dialogs.projectNames = {QString("Teste")};
        f.run();
        EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.*c.message});
        EXPECT_FALSE((f.app.messages.*c.message).isEmpty());
        EXPECT_TRUE(f.projectFolders().empty());
        EXPECT_EQ(f.dialogs.projectNameRequests, 0);
    }
}

TEST(RunCommand, AFailingRunLeavesTheInterfaceUsable)
{
    RunFixture f;
    f.app.executableFolder = QString::fromStdString(f.folder.path());  // no valores.txt there
    f.dialogs.projectNames = {QString("Broken")};
    f.run();
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].startsWith("I/O error 2")) << f.dialogs.errors[0].toStdString();
    EXPECT_FALSE(f.app.windows.calculando->isVisible());
    EXPECT_TRUE(f.main->findChild<QToolBar*>("ToolBar1")->isEnabled());
    EXPECT_TRUE(f.app.windows.dados->parentWidget()->isEnabled());
    EXPECT_FALSE(f.app.project.ResultsExist) << "a run that wrote no time made no results";
    EXPECT_FALSE(f.exists("Broken"));
    f.app.executableFolder = QString(KAVRIN_BIN_DIR);
    f.run();
    EXPECT_TRUE(f.dialogs.questions.isEmpty()) << "no results to save from the failed run";
    EXPECT_TRUE(f.exists("Broken/T2500.txt"));
}

TEST(RunCommand, DuringARunNothingCanCloseTheProgramOrReachACommand)
{
    RunFixture f;
    f.type(6, "450");  // 451 × 61 points, a hundred and one times: long enough to act meanwhile
    f.type(7, "1");
    f.type(9, "1");
    f.type(12, "25000");
    f.type(13, "250");
    bool closed = true, saveEnabled = true;
    QTimer::singleShot(0, f.main.get(), [&] {
        saveEnabled = f.main->action("Salvar2")->isEnabled();
        closed = f.main->close();
    });
    f.runAs("Long");
    EXPECT_FALSE(closed);
    EXPECT_FALSE(saveEnabled);
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_TRUE(f.exists("Long/T2500.txt"));
    EXPECT_TRUE(f.main->action("Salvar2")->isEnabled());
}
