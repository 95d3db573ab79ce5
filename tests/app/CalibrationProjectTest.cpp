// The calibration window's table and the fit's choices saved with the project and opened with it.
#include "RunFixture.h"
#include "files/ProjectFile.h"
#include "observations/TObservacao.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;
using kavrin::test::WriteBytes;

namespace {

const char* const kWells = "0.41 5 0 0 400 2\r\n0.2 20 2 0.5 900\r\n0.05 60 -3 -1 1500 0.5\r\n";

struct CalibrationProject : RunFixture {
    TObservacao* window = app.windows.observacao;
    FitPanel* panel = window->fitPanel;

    // A run, its table imported and a fit chosen: AlphaX and C0 with typed
    // bounds, logarithms, a detection limit and relative weights.
    void prepare()
    {
        runAs("Teste");
        WriteBytes(folder.path() + "wells.txt", kWells);
        dialogs.files.push_back(QString::fromStdString(folder.path() + "wells.txt"));
        window->findChild<QPushButton*>("BitBtn5")->click();
        panel->CheckBoxes[0]->setChecked(true);  // AlphaX
        panel->LowerEdits[0]->setText("0.5");
        panel->UpperEdits[0]->setText("40");
        panel->CheckBoxes[6]->setChecked(true);  // C0, its default bounds
        panel->CheckBoxLog->setChecked(true);
        panel->EditDetectionLimit->setText("0.001");
        panel->ComboBoxWeights->setCurrentIndex(1);
    }
    void save(const std::string& name)
    {
        dialogs.files.push_back(QString::fromStdString(folder.path() + name));
        main->action("Salvar2")->trigger();
    }
    void open(const std::string& path)
    {
        dialogs.files.push_back(QString::fromStdString(path));
        main->action("Abrir2")->trigger();
    }
    void editCell(int row, int column, const char* text) { window->StringGrid1->item(row, column)->setText(text); }
    QString cell(int row, int column) const { return window->StringGrid1->item(row, column)->text(); }
};

}  // namespace

TEST(CalibrationProject, SavedWithTheProjectAndBackWhenItIsOpened)
{
    CalibrationProject writer;
    writer.prepare();
    writer.save("campo.kvr");
    ASSERT_TRUE(writer.dialogs.errors.isEmpty()) << writer.dialogs.errors.join("|").toStdString();
    const std::vector<std::string> lines = CrLfLines(ReadBytes(writer.folder.path() + "campo.kvr"));
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 25, lines.end()),
              (std::vector<std::string>{"ObservationTable=campo.observations.txt", "FitParameters=AlphaX,C0",
                                        "FitBounds=AlphaX 0.5 40|C0 0.005 50", "FitLog=yes", "FitDetectionLimit=0.001",
                                        "FitWeights=relative"}));
    // The table as "Salvar" writes it, beside the results.
    EXPECT_EQ(ReadBytes(writer.root() + "Teste/campo.observations.txt"), kWells);

    CalibrationProject second;  // another program, with its own workspace
    second.open(writer.folder.path() + "campo.kvr");
    ASSERT_TRUE(second.dialogs.errors.isEmpty()) << second.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(second.dialogs.notices.isEmpty()) << second.dialogs.notices.join("|").toStdString();
    EXPECT_EQ(second.window->Edit1->text(), "3");
    EXPECT_EQ(second.cell(2, 3), "-3");
    EXPECT_EQ(second.cell(0, 6), "2");
    EXPECT_EQ(second.cell(1, 6), "");
    EXPECT_TRUE(second.panel->CheckBoxes[0]->isChecked());
    EXPECT_TRUE(second.panel->CheckBoxes[6]->isChecked());
    EXPECT_FALSE(second.panel->CheckBoxes[3]->isChecked());
    EXPECT_EQ(second.panel->LowerEdits[0]->text(), "0.5");
    EXPECT_EQ(second.panel->UpperEdits[0]->text(), "40");
    EXPECT_EQ(second.panel->UpperEdits[6]->text(), "50");
    EXPECT_TRUE(second.panel->CheckBoxLog->isChecked());
    EXPECT_EQ(second.panel->EditDetectionLimit->text(), "0.001");
    EXPECT_EQ(second.panel->ComboBoxWeights->currentIndex(), 1);
    EXPECT_FALSE(second.window->calibrationChanged());
}

TEST(CalibrationProject, SavingUnderANewNameCopiesTheTable)
{
    CalibrationProject f;
    f.prepare();
    f.save("campo.kvr");
    f.editCell(0, 1, "0.5");
    f.save("outro.kvr");
    EXPECT_EQ(ReadBytes(f.root() + "Teste/campo.observations.txt"), kWells);
    EXPECT_EQ(ReadBytes(f.root() + "Teste/outro.observations.txt").substr(0, 17), "0.5 5 0 0 400 2\r\n");
    EXPECT_EQ(CrLfLines(ReadBytes(f.folder.path() + "outro.kvr"))[25], "ObservationTable=outro.observations.txt");
}

TEST(CalibrationProject, AMissingTableIsNamedAndTheRestOpens)
{
    CalibrationProject writer;
    writer.prepare();
    writer.save("campo.kvr");
    std::filesystem::remove(writer.root() + "Teste/campo.observations.txt");

    CalibrationProject reader;
    reader.open(writer.folder.path() + "campo.kvr");
    EXPECT_TRUE(reader.dialogs.errors.isEmpty()) << reader.dialogs.errors.join("|").toStdString();
    ASSERT_EQ(reader.dialogs.notices.size(), 1);
    const QString notice = reader.dialogs.notices[0];
    EXPECT_TRUE(notice.startsWith(reader.app.text(AddedText::StoredObservationsUnread).section('%', 0, 0)))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(QString::fromStdString(writer.root() + "Teste/campo.observations.txt"))) << notice.toStdString();
    EXPECT_EQ(reader.app.project.ProjectName, "Teste");
    EXPECT_TRUE(reader.app.project.ResultsExist);
    EXPECT_EQ(reader.window->Edit1->text(), "0");
    EXPECT_TRUE(reader.panel->CheckBoxes[0]->isChecked());
    EXPECT_TRUE(reader.panel->CheckBoxLog->isChecked());
}

TEST(CalibrationProject, NewEmptiesTheTableAndTakesTheFitBackToItsDefaults)
{
    CalibrationProject f;
    f.prepare();
    f.main->action("ToolButton7")->trigger();
    EXPECT_EQ(f.window->Edit1->text(), "0");
    EXPECT_EQ(f.window->table().ObservationCount(), 0);
    for (const QCheckBox* box : f.panel->CheckBoxes) EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(f.panel->CheckBoxLog->isChecked());
    EXPECT_TRUE(f.panel->EditDetectionLimit->text().isEmpty());
    EXPECT_EQ(f.panel->ComboBoxWeights->currentIndex(), 0);
}

TEST(CalibrationProject, AProjectOfTwentyFiveLinesLeavesTheCalibrationAsItWas)
{
    CalibrationProject f;
    f.prepare();
    f.save("campo.kvr");
    WriteProjectFile(f.folder.path() + "old.kvr", "Old", "today", InitialParameterTexts(), f.root());
    f.open(f.folder.path() + "old.kvr");
    EXPECT_TRUE(f.dialogs.questions.isEmpty()) << f.dialogs.questions.join("|").toStdString();
    EXPECT_EQ(f.app.project.ProjectName, "Old");
    EXPECT_EQ(f.window->Edit1->text(), "3");
    EXPECT_TRUE(f.panel->CheckBoxes[0]->isChecked());
    EXPECT_FALSE(f.window->calibrationChanged());
}

TEST(CalibrationProject, ChangesNotSavedWithTheProjectAreAskedForBeforeTheyAreLeft)
{
    CalibrationProject f;
    f.prepare();
    f.save("campo.kvr");
    const QString asked = f.app.text(AddedText::CalibrationChangedSave);

    // Cancel: nothing happens, the edit stays.
    f.editCell(1, 1, "0.25");
    f.dialogs.answers = {Answer::Cancel};
    f.open(f.folder.path() + "campo.kvr");
    EXPECT_EQ(f.dialogs.questions, QStringList{asked});
    EXPECT_EQ(f.cell(1, 1), "0.25");
    EXPECT_EQ(f.dialogs.files.size(), 1u) << "no file was asked for";
    f.dialogs.files.clear();

    // Yes: the project is saved with the edit first, then the other one opens.
    f.dialogs.questions.clear();
    f.dialogs.answers = {Answer::Yes};
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "editado.kvr"),
                       QString::fromStdString(f.folder.path() + "campo.kvr")};
    f.main->action("Abrir2")->trigger();
    EXPECT_EQ(f.dialogs.questions, QStringList{asked});
    EXPECT_NE(ReadBytes(f.root() + "Teste/editado.observations.txt").find("0.25 20 2 0.5 900"), std::string::npos);
    EXPECT_EQ(f.cell(1, 1), "0.2") << "campo.kvr opened with its own table";

    // A fit choice counts too; No at the closing lets it go.
    f.dialogs.questions.clear();
    f.panel->CheckBoxLog->setChecked(false);
    EXPECT_TRUE(f.window->calibrationChanged());
    f.dialogs.answers = {Answer::Yes, Answer::No};
    EXPECT_TRUE(f.main->close());
    EXPECT_EQ(f.dialogs.questions, (QStringList{f.app.messages.MsgConfirmExit, asked}));
    EXPECT_EQ(f.dialogs.saveRequests, 2);
}

TEST(CalibrationProject, AProjectGivenAtStartShowsItsCalibration)
{
    CalibrationProject writer;
    writer.prepare();
    writer.save("campo.kvr");
    RunFixture started({QString::fromStdString(writer.folder.path() + "campo.kvr")});
    const TObservacao* window = started.app.windows.observacao;
    EXPECT_EQ(window->Edit1->text(), "3");
    EXPECT_EQ(window->table().ObservationCount(), 3);
    EXPECT_TRUE(window->fitPanel->CheckBoxes[0]->isChecked());
    EXPECT_FALSE(window->calibrationChanged());
}

TEST(CalibrationProject, TheSeveralStartsAreSavedFilledInAndAskedFor)
{
    CalibrationProject writer;
    writer.prepare();
    writer.panel->CheckBoxSeveralStarts->setChecked(true);
    writer.panel->SpinBoxStarts->setValue(8);
    writer.panel->SpinBoxSeed->setValue(42);
    writer.save("campo.kvr");
    const std::vector<std::string> lines = CrLfLines(ReadBytes(writer.folder.path() + "campo.kvr"));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), (std::vector<std::string>{"FitStarts=8", "FitSeed=42"}));

    CalibrationProject reader;
    reader.open(writer.folder.path() + "campo.kvr");
    EXPECT_TRUE(reader.panel->CheckBoxSeveralStarts->isChecked());
    EXPECT_EQ(reader.panel->SpinBoxStarts->value(), 8);
    EXPECT_EQ(reader.panel->SpinBoxSeed->value(), 42);
    EXPECT_FALSE(reader.window->calibrationChanged());
    reader.panel->SpinBoxSeed->setValue(43);
    EXPECT_TRUE(reader.window->calibrationChanged()) << "a new seed is a change to save";
    reader.panel->SpinBoxSeed->setValue(42);
    reader.panel->CheckBoxSeveralStarts->setChecked(false);
    EXPECT_TRUE(reader.window->calibrationChanged()) << "one start instead of eight";

    // The most the file and the command line take fits in the controls.
    StoredCalibration most;
    most.parameters = {FitParameter::C0};
    most.starts = 100000;
    most.seed = 2147483647;
    WriteProjectFile(writer.folder.path() + "most.kvr", "Teste", "today", InitialParameterTexts(), writer.root(),
                     CalibrationNamedLines(most));
    reader.dialogs.answers = {Answer::No};
    reader.open(writer.folder.path() + "most.kvr");
    EXPECT_EQ(reader.panel->SpinBoxStarts->value(), 100000);
    EXPECT_EQ(reader.panel->SpinBoxSeed->value(), 2147483647);
    EXPECT_EQ(reader.panel->storedChoices().starts, most.starts);
    EXPECT_EQ(reader.panel->storedChoices().seed, most.seed);

    // New: one start, the default count and seed.
    reader.dialogs.answers = {Answer::No};
    reader.main->action("ToolButton7")->trigger();
    EXPECT_FALSE(reader.panel->CheckBoxSeveralStarts->isChecked());
    EXPECT_EQ(reader.panel->SpinBoxStarts->value(), 20);
    EXPECT_EQ(reader.panel->SpinBoxSeed->value(), 1);
}

TEST(CalibrationProject, AFittedProjectNotRunYetOpensWithItsTable)
{
    CalibrationProject f;
    // As kavrin-batch fit --save writes it: no results on line 25, the table in
    // the results folder the project's name gives.
    std::filesystem::create_directories(f.root() + "Ajuste");
    WriteBytes(f.root() + "Ajuste/ajustado.observations.txt", kWells);
    StoredCalibration stored;
    stored.observationFile = "ajustado.observations.txt";
    stored.parameters = {FitParameter::C0};
    WriteUnrunProjectFile(f.folder.path() + "ajustado.kvr", "Ajuste", "today", InitialParameterTexts(),
                          CalibrationNamedLines(stored));
    f.open(f.folder.path() + "ajustado.kvr");
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(f.dialogs.notices.isEmpty()) << f.dialogs.notices.join("|").toStdString();
    EXPECT_FALSE(f.app.project.ResultsExist);
    EXPECT_EQ(f.window->Edit1->text(), "3");
    EXPECT_EQ(f.cell(2, 3), "-3");
    EXPECT_TRUE(f.panel->CheckBoxes[6]->isChecked());
}
