// What the program keeps of a project through runs, saves, opens and New:
// nothing the user reaches changes a run, and no results are lost.
#include "RunFixture.h"
#include "files/ProjectFile.h"
#include "project/TFormCalculando.h"
#include "project/TFormProjeto.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;
using kavrin::test::WriteBytes;

namespace {

// 451 × 61 points and a hundred and one times: long enough to act meanwhile.
void typeLongRun(RunFixture& f)
{
    f.type(6, "450");
    f.type(7, "1");
    f.type(9, "1");
    f.type(10, "-30");
    f.type(11, "0");
    f.type(12, "25000");
    f.type(13, "250");
}

void click(QWidget* window, const char* button)
{
    window->findChild<QPushButton*>(button)->click();
}

}  // namespace

TEST(RunOwnsItsState, TheNameWindowDuringARunChangesOnlyTheNextRunsName)
{
    RunFixture f;
    f.main->action("Novo1")->trigger();  // the name window stays open, without waiting
    ASSERT_TRUE(f.app.windows.projeto->isVisible());
    typeLongRun(f);
    // OK in the name window while the worker writes: at the run's first progress.
    bool renamedDuringRun = false;
    QObject::connect(f.app.windows.calculando->PBar, &QProgressBar::valueChanged, f.main.get(), [&] {
        if (renamedDuringRun) return;
        renamedDuringRun = true;
        f.app.windows.projeto->Edit1->setText("Other");
        click(f.app.windows.projeto, "BitBtn1");
    });
    f.runAs("Long");
    ASSERT_TRUE(renamedDuringRun);
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgRunFinished});
    EXPECT_EQ(f.app.project.ProjectName, "Long");
    EXPECT_EQ(CrLfLines(ReadBytes(f.root() + "Long/Index.txt")).size(), 101u);
    EXPECT_TRUE(f.exists("Long/T25000.txt"));
    EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"Long"});
    EXPECT_EQ(f.app.NewProjectName, "Other") << "the next run's name";
}

TEST(OpenedProject, CountsAsSavedUntilARunReplacesItsResults)
{
    RunFixture writer;
    writer.runAs("Teste");
    writer.dialogs.files = {QString::fromStdString(writer.folder.path() + "p")};
    writer.main->action("ToolButton4")->trigger();
    const std::string file = writer.folder.path() + "p.kvr";

    for (bool runFirst : {false, true}) {
        kavrin::test::GuiFixture reader;
        qputenv("KAVRIN_ROOT", writer.root().c_str());
        reader.app.project.Root = writer.root();
        reader.start();
        reader.dialogs.files = {QString::fromStdString(file)};
        reader.main->action("Abrir2")->trigger();
        ASSERT_TRUE(reader.app.project.ResultsExist);
        if (runFirst) {
            // Run: the opened results are settled without a question and stay.
            reader.dialogs.projectNames = {QString("Next")};
            reader.main->action("ToolButton1")->trigger();
            EXPECT_TRUE(reader.dialogs.questions.isEmpty());
            EXPECT_TRUE(std::filesystem::exists(writer.root() + "Next/T0.txt"));
        }
        reader.dialogs.answers = {Answer::Yes, Answer::No};  // quit: yes; save: no
        EXPECT_TRUE(reader.main->close());
        EXPECT_TRUE(std::filesystem::exists(writer.root() + "Teste/T2500.txt")) << "the file still points there";
    }
}

TEST(SaveBeforeGoingOn, SavesTheProjectTheResultsBelongTo)
{
    RunFixture f;
    f.runAs("Old");  // DX = DY = 10
    f.main->action("Novo1")->trigger();
    f.app.windows.projeto->Edit1->setText("New");
    click(f.app.windows.projeto, "BitBtn1");
    EXPECT_EQ(f.app.project.ProjectName, "Old");
    f.dialogs.answers = {Answer::Yes};
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "old")};
    f.run();
    const std::vector<std::string> saved = CrLfLines(ReadBytes(f.folder.path() + "old.kvr"));
    ASSERT_EQ(saved.size(), 25u);
    EXPECT_EQ(saved[0], "Old");
    EXPECT_EQ(saved[8], "10") << "DX of the run that made the results";
    EXPECT_EQ(saved[24], f.root() + "Old/index.txt");
    EXPECT_EQ(f.projectFolders(), (std::vector<std::string>{"New", "Old"}));
    EXPECT_EQ(f.app.project.ProjectName, "New");
    EXPECT_EQ(f.dialogs.projectNameRequests, 1) << "the name typed after New is used";
}

TEST(OpeningAFile, ThatIsNotAProjectOrParameterFileChangesNothing)
{
    RunFixture f;
    f.runAs("Teste");
    f.type(1, "7,25");  // unsaved parameters
    ParameterTexts texts = InitialParameterTexts();
    WriteProjectFile(f.folder.path() + "good.kvr", "Other", "today", texts, f.root());
    const std::string good = ReadBytes(f.folder.path() + "good.kvr");
    std::string binary = good;
    binary[40] = '\0';
    std::string notNumber = good;
    notNumber.replace(notNumber.find("\r\n100\r\n"), 7, "\r\nabc\r\n");
    struct Case {
        const char* action;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"Abrir2", good.substr(0, good.find("\r\n1\r\n")),
         "the file ends before this line; a project file has at least 24 lines."},
        {"Abrir2", binary, "which no text file has"},
        {"Abrir2", notNumber, ", line 8: \"abc\" is not a number; this is not a project file."},
        {"Abrir1", "1\r\n2\r\n", ", line 3: the file ends before this line; a parameter file has at least 21 lines."},
        {"Abrir1", std::string("\x89PNG\r\n\x1a\n\0\0", 10), "which no text file has"},
    };
    for (const Case& c : cases) {
        const std::string path = f.folder.path() + "bad";
        WriteBytes(path, c.bytes);
        f.dialogs.errors.clear();
        f.dialogs.files = {QString::fromStdString(path)};
        f.main->action(c.action)->trigger();
        ASSERT_EQ(f.dialogs.errors.size(), 1) << c.message;
        EXPECT_TRUE(f.dialogs.errors[0].startsWith(QString::fromStdString(path))) << f.dialogs.errors[0].toStdString();
        EXPECT_TRUE(f.dialogs.errors[0].contains(QString::fromStdString(c.message)))
            << f.dialogs.errors[0].toStdString() << " / " << c.message;
        EXPECT_EQ(f.app.windows.dados->Edit[1]->text(), "7,25");
        EXPECT_EQ(f.app.windows.dados->Edit[7]->text(), "10");
        EXPECT_EQ(f.app.project.ProjectName, "Teste");
        EXPECT_TRUE(f.app.project.ResultsExist);
    }
}

TEST(CancelledRun, KeepsTheCompleteTimesAndSaysSo)
{
    RunFixture f;
    typeLongRun(f);
    // Cancel as soon as the window shows the first progress.
    bool clicked = false;
    QObject::connect(f.app.windows.calculando->PBar, &QProgressBar::valueChanged, f.main.get(), [&] {
        if (clicked) return;
        clicked = true;
        click(f.app.windows.calculando, "BitBtn2");
    });
    f.runAs("Stopped");
    const QString shown = f.app.windows.calculando->Label2->text();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgRunCancelled});
    EXPECT_FALSE(f.app.messages.MsgRunCancelled.isEmpty());
    EXPECT_TRUE(shown.contains("%   " + f.app.messages.MsgAxisTime + ": ")) << shown.toStdString();
    const std::vector<std::string> listed = CrLfLines(ReadBytes(f.root() + "Stopped/Index.txt"));
    ASSERT_FALSE(listed.empty());
    EXPECT_LT(listed.size(), 101u);
    for (const std::string& path : listed) EXPECT_EQ(CrLfLines(ReadBytes(path)).size(), 61u) << path;
    EXPECT_EQ(f.projectFolders().size(), 1u);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(f.root() + "Stopped")) ++files;
    EXPECT_EQ(files, listed.size() + 1) << "no time beyond those listed";
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_TRUE(f.main->action("ToolButton1")->isEnabled());
}
