#include "RunFixture.h"
#include "project/TFormExportGRD.h"
#include "workspace/Workspace.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

TEST(ParameterFiles, WrittenAndReadBackThroughTheMenu)
{
    RunFixture f;
    f.type(13, "1250");
    f.app.windows.dados->ComboBox1->setCurrentText("104");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "par.dat")};
    f.main->action("Salvar1")->trigger();
    const std::vector<std::string> lines = CrLfLines(ReadBytes(f.folder.path() + "par.dat"));
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[12], "1250");
    EXPECT_EQ(lines[21], "104");

    f.type(13, "5");
    f.app.windows.dados->ComboBox1->setCurrentText("20");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "par.dat")};
    f.main->action("Abrir1")->trigger();
    EXPECT_EQ(f.app.windows.dados->Edit[13]->text(), "1250");
    EXPECT_EQ(f.app.windows.dados->ComboBox1->currentText(), "20") << "the order is never read back";
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(ResultLoadingCommand, LoadsATimeOrSaysItIsMissing)
{
    RunFixture f;
    f.runAs("Teste");
    f.app.grid.set(2, 4, -1);
    f.main->files().CompletaArray("2500");
    EXPECT_NEAR(f.app.grid.at(2, 4), 0.5 * 0.567010, 1e-6);
    f.main->files().CompletaArray("2500.0");
    EXPECT_EQ(f.dialogs.notices.last(), f.app.messages.MsgResultFileMissing);
    EXPECT_NEAR(f.app.grid.at(2, 4), 0.5 * 0.567010, 1e-6);
}

TEST(ExportCommands, AllTimesAndAChosenFileThroughTheExportWindow)
{
    RunFixture f;
    f.runAs("Teste");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "all")};
    f.main->action("ToolButton12")->trigger();
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "allT0.grd"));
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "allT2500.grd"));

    // The export window: its "Procurar" for the results file, a typed name, OK.
    TFormExportGRD* window = f.app.windows.exportGrd;
    const std::string results = f.root() + "Teste/T2500.txt";
    f.dialogs.files = {QString::fromStdString(results)};
    QTimer::singleShot(0, window, [&] {
        EXPECT_EQ(window->Edit1->text().toStdString(), f.root() + "Teste/") << "the window starts in the project folder";
        window->findChild<QPushButton*>("Button1")->click();
        window->Edit2->setText(QString::fromStdString(f.folder.path() + "chosen.txt"));
        window->findChild<QPushButton*>("BitBtn1")->click();
    });
    f.main->action("Escolherarquivo1")->trigger();
    const std::vector<std::string> table = CrLfLines(ReadBytes(f.folder.path() + "chosen.txt"));
    EXPECT_EQ(table.size(), 11u * 7u);
    EXPECT_EQ(table.front().substr(0, 8), "0 -30 0.");

    // Cancel writes nothing.
    QTimer::singleShot(0, window, [&] { window->findChild<QPushButton*>("BitBtn2")->click(); });
    window->Edit2->setText(QString::fromStdString(f.folder.path() + "cancelled"));
    f.main->action("EscolherArquivo2")->trigger();
    EXPECT_FALSE(std::filesystem::exists(f.folder.path() + "cancelled.grd"));
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();

    // Without results the index is missing: the file error, nothing written.
    kavrin::test::RunFixture fresh;
    fresh.dialogs.files = {QString::fromStdString(fresh.folder.path() + "none")};
    fresh.main->action("ToolButton13")->trigger();
    ASSERT_EQ(fresh.dialogs.errors.size(), 1);
    EXPECT_TRUE(fresh.dialogs.errors[0].startsWith("I/O error 2"));
}

TEST(ExportCommands, NoExportOfTheDesktopWritesOverTheResultsOrIntoTheirFolder)
{
    RunFixture f;
    f.runAs("Teste");
    const std::string results = f.root() + "Teste/T2500.txt";
    const std::string before = ReadBytes(results);

    // All times into the project's own folder.
    f.dialogs.files = {QString::fromStdString(f.root() + "Teste/")};
    f.main->action("ToolButton12")->trigger();
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].contains("into the results folder")) << f.dialogs.errors[0].toStdString();
    EXPECT_FALSE(std::filesystem::exists(f.root() + "Teste/T2500.grd"));

    // The export window: a table named after the results file it converts.
    TFormExportGRD* window = f.app.windows.exportGrd;
    QTimer::singleShot(0, window, [&] {
        window->Edit1->setText(QString::fromStdString(results));
        window->Edit2->setText(QString::fromStdString(f.root() + "Teste/T2500"));
        window->findChild<QPushButton*>("BitBtn1")->click();
    });
    f.main->action("Escolherarquivo1")->trigger();
    ASSERT_EQ(f.dialogs.errors.size(), 2);
    EXPECT_TRUE(f.dialogs.errors[1].contains("which it reads")) << f.dialogs.errors[1].toStdString();
    EXPECT_EQ(ReadBytes(results), before);
}

TEST(ResultLoadingCommand, ACutTimeIsRefusedAndTheGridShownStays)
{
    RunFixture f;
    f.runAs("Teste");
    f.main->files().CompletaArray("2500");
    const double shown = f.app.grid.at(2, 4);
    const std::string path = f.root() + "Teste/T0.txt";
    const std::string bytes = ReadBytes(path);
    kavrin::test::WriteBytes(path, bytes.substr(0, bytes.find('\n') + 1));
    const std::string failure = kavrin::test::FailureText([&] { f.main->files().CompletaArray("0"); });
    EXPECT_EQ(failure.rfind(path + ", line 2: the file ends after 1 rows", 0), 0u) << failure;
    EXPECT_EQ(f.app.grid.at(2, 4), shown);
}
