// The source window: opened from the data window and the menu, its values
// checked as they are typed, the run and the parameter file with its options.
#include "source/SourceWindow.h"
#include "RunFixture.h"
#include "files/ProjectFile.h"
#include "frame/LanguageLoader.h"
#include "source/SourceFields.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::GuiFixture;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

namespace {

void typeCell(QTableWidget* table, int row, int column, const char* text)
{
    table->setItem(row, column, new QTableWidgetItem(QString::fromUtf8(text)));
}

// A zone typed into a new row of the zones table.
void addZone(SourceWindow* w, std::initializer_list<const char*> cells)
{
    w->AddZoneButton->click();
    int column = 0;
    for (const char* text : cells) typeCell(w->ZonesTable, w->ZonesTable->rowCount() - 1, column++, text);
}

}  // namespace

TEST(SourceFields, TextsGoToTheFieldsAndBackAsTheyWere)
{
    const SourceTexts cases[] = {
        {},
        {{"SourceHistory", "decay"}, {"SourceHalfLife", "30"}},
        {{"SourceHistory", "decay"}, {"SourceDecay", "0.01"}, {"ControlPlaneX", "80"}},
        {{"SourceHistory", "stop"}, {"ReleaseEnd", "365"}},
        {{"SourceHistory", "steps"}, {"SourceSteps", "0 1|100 0.5|200 0"}},
        {{"SourceCentre", "5 -1"}, {"SourceZones", "10 0 4 2 9|-10 0 4 2 2.8"}},
    };
    for (const SourceTexts& texts : cases) {
        const ComposedSourceTexts back = TextsOfFields(FieldsOfTexts(texts), '.');
        EXPECT_EQ(back.texts, texts) << (texts.empty() ? "" : texts.front().value);
        EXPECT_FALSE(back.refusal);
    }
}

TEST(SourceFields, DefaultsAreNotWrittenAndUnwritableValuesAreNamed)
{
    SourceFields fields;
    fields.centreY = "0.0";
    fields.centreZ = " 0 ";
    EXPECT_EQ(TextsOfFields(fields, ',').texts, SourceTexts{}) << "centre 0 0 and the constant history are the defaults";
    fields.centreY = "2.5";
    EXPECT_EQ(TextsOfFields(fields, ',').texts, (SourceTexts{{"SourceCentre", "2,5 0"}})) << "the number texts' separator";

    struct Case {
        SourceHistory history;
        std::vector<std::array<std::string, 2>> steps;
        std::vector<std::array<std::string, 5>> zones;
        std::string name;
        SourceRule rule;
        int group;
    };
    const Case cases[] = {
        {SourceHistory::Steps, {}, {}, "SourceSteps", SourceRule::MissingValue, 0},
        {SourceHistory::Steps, {{"0", "1"}, {"10", ""}}, {}, "SourceSteps", SourceRule::MissingValue, 2},
        {SourceHistory::Steps, {{"0", "1 2"}}, {}, "SourceSteps", SourceRule::NotANumber, 1},
        {SourceHistory::Constant,
         {},
         {{"1", "2", "3", "4", "5"}, {"1", "2", "3|", "4", "5"}},
         "SourceZones",
         SourceRule::NotANumber,
         3},  // the second zone of the list is zone 3
        {SourceHistory::Decay, {}, {}, "SourceDecay", SourceRule::MissingValue, 0},
    };
    for (const Case& c : cases) {
        SourceFields typed;
        typed.history = c.history;
        typed.steps = c.steps;
        typed.zones = c.zones;
        const std::optional<SourceRefusal> refusal = TextsOfFields(typed, '.').refusal;
        ASSERT_TRUE(refusal) << c.name;
        EXPECT_EQ(refusal->name, c.name);
        EXPECT_EQ(refusal->rule, c.rule) << c.name;
        EXPECT_EQ(refusal->group, c.group) << c.name;
    }
}

TEST(SourceWindow, OpensFromTheDataWindowAndTheMenuInsideTheFrame)
{
    // In each language: the window's texts differ in length.
    for (const auto& [opener, language] : {std::pair{"button", "Port"}, std::pair{"ShowSource", "English"}}) {
        GuiFixture f;
        f.storeSetting("Language", language);
        f.start();
        f.main->showNormal();
        f.main->setGeometry(QRect(0, 0, 1366, 768));
        // The frame active, as the user's clicks find it.
        f.main->activateWindow();
        QApplication::processEvents();
        SourceWindow* w = f.app.windows.source;
        EXPECT_FALSE(w->isVisible());
        if (std::string(opener) == "button")
            f.app.windows.dados->SourceButton->click();
        else
            f.main->action(opener)->trigger();
        QApplication::processEvents();
        auto* child = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        ASSERT_TRUE(child);
        EXPECT_TRUE(child->isVisible()) << opener;
        EXPECT_TRUE(w->isVisible()) << opener;
        EXPECT_EQ(f.main->mdiArea()->activeSubWindow(), child) << opener;
        EXPECT_TRUE(f.main->mdiArea()->viewport()->rect().contains(child->geometry())) << opener;
        EXPECT_LT(child->minimumWidth(), child->maximumWidth());
        // Every heading reads in full.
        for (QTableWidget* table : {w->StepsTable, w->ZonesTable})
            for (int column = 0; column < table->columnCount(); ++column)
                EXPECT_GE(table->columnWidth(column), table->horizontalHeader()->sectionSizeHint(column)) << language;
        // Closed, it is minimised; shown again, it is the same frame.
        child->close();
        EXPECT_TRUE(child->isMinimized());
        f.main->action("ShowSource")->trigger();
        EXPECT_EQ(w->parentWidget(), child);
        EXPECT_FALSE(child->isMinimized());
    }
}

TEST(SourceWindow, ValuesAreCheckedAsTypedAndOnlyValidTextsReachTheModelsTexts)
{
    GuiFixture f;
    f.start();
    SourceWindow* w = f.app.windows.source;
    w->DecayButton->setChecked(true);
    w->DecayKind->setCurrentIndex(1);
    w->DecayEdit->setText("-3");
    EXPECT_EQ(w->RefusalLabel->text(), QString::fromUtf8("Meia-vida (dias): o valor deve ser um número finito maior que zero."));
    EXPECT_EQ(f.app.texts.source, SourceTexts{}) << "nothing changes until the texts are valid";
    w->DecayEdit->setText("30");
    EXPECT_EQ(w->RefusalLabel->text(), "");
    EXPECT_EQ(f.app.texts.source, (SourceTexts{{"SourceHistory", "decay"}, {"SourceHalfLife", "30"}}));

    addZone(w, {"15", "0", "4", "2", "9"});
    EXPECT_EQ(f.app.texts.source.back(), (SourceText{"SourceZones", "15 0 4 2 9"}));
    w->ControlPlaneEdit->setText("150");
    EXPECT_EQ(
        w->RefusalLabel->text(),
        QString::fromUtf8("Plano de controle X (m): o plano de controle deve estar entre 0 e a posição final de X (100 m)."));
    EXPECT_EQ(f.app.texts.source.back(), (SourceText{"SourceZones", "15 0 4 2 9"}));
    // The data window's X1 moves on: the plane is inside now.
    f.app.windows.dados->Edit[6]->setText("200");
    EXPECT_EQ(w->RefusalLabel->text(), "");
    EXPECT_EQ(f.app.texts.source.back(), (SourceText{"ControlPlaneX", "150"}));

    LoadLanguage(f.app, Language::English);
    w->ControlPlaneEdit->setText("abc");
    EXPECT_EQ(w->RefusalLabel->text(), "Control plane X (m): the value is not a number.");
    EXPECT_EQ(f.app.texts.source.back(), (SourceText{"ControlPlaneX", "150"}));
}

TEST(SourceWindow, ZoneOneIsTheDataWindowsSourceAndTheTablesKeepTwentyZones)
{
    GuiFixture f;
    f.start();
    SourceWindow* w = f.app.windows.source;
    f.app.windows.dados->Edit[1]->setText("7.5");
    QTableWidget* zones = w->ZonesTable;
    EXPECT_EQ(zones->item(0, 2)->text(), "20");
    EXPECT_EQ(zones->item(0, 3)->text(), "3");
    EXPECT_EQ(zones->item(0, 4)->text(), "7.5");
    EXPECT_FALSE(zones->item(0, 4)->flags() & Qt::ItemIsEditable);
    for (int n = 0; n < 25; ++n) w->AddZoneButton->click();
    EXPECT_EQ(zones->rowCount(), 20);
    EXPECT_EQ(w->RefusalLabel->text(), QString::fromUtf8("Zona 2: falta o valor."));
    for (int n = 0; n < 25; ++n) w->RemoveZoneButton->click();
    EXPECT_EQ(zones->rowCount(), 1) << "zone 1 stays";
    EXPECT_EQ(w->RefusalLabel->text(), "");
}

TEST(SourceWindow, CaptionsFollowTheLanguage)
{
    GuiFixture f;
    f.start();
    LoadLanguage(f.app, Language::English);
    SourceWindow* w = f.app.windows.source;
    EXPECT_EQ(w->windowTitle(), "Source");
    ShowSourceWindow(f.app);
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(w->parentWidget())->windowTitle(), "Source");
    EXPECT_EQ(f.main->action("ShowSource")->text(), "Source");
    EXPECT_EQ(f.app.windows.dados->SourceButton->text(), "Source");
    EXPECT_EQ(w->StepsTable->horizontalHeaderItem(0)->text(), "Start (days)");
    EXPECT_EQ(w->ZonesTable->verticalHeaderItem(0)->text(), "Zone 1");
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(w->DecayButton->text(), "Decaimento de primeira ordem");
    EXPECT_EQ(f.main->action("ShowSource")->text(), "Fonte");
}

TEST(SourceWindow, RunRefusesBadSourceTextsBeforeWritingAnything)
{
    RunFixture f;
    SourceWindow* w = f.app.windows.source;
    w->ControlPlaneEdit->setText("80");
    ASSERT_EQ(f.app.texts.source, (SourceTexts{{"ControlPlaneX", "80"}}));
    f.type(6, "60");  // the texts taken before no longer hold
    f.runAs("Fonte");
    ASSERT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_EQ(
        f.dialogs.notices[0],
        QString::fromUtf8("Plano de controle X (m): o plano de controle deve estar entre 0 e a posição final de X (60 m)."));
    EXPECT_TRUE(f.projectFolders().empty());
    EXPECT_EQ(f.dialogs.projectNameRequests, 0);
    EXPECT_TRUE(w->parentWidget()->isVisible()) << "the refused value is shown";

    // Typed away while invalid: the run takes what the window shows, once it passes.
    w->ControlPlaneEdit->setText("30");
    f.dialogs.notices.clear();
    f.run();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgRunFinished});
    EXPECT_EQ(f.app.resultsTexts.source, (SourceTexts{{"ControlPlaneX", "30"}}));

    // With results, the refusal comes before the earlier results are asked about.
    w->ControlPlaneEdit->setText("-1");
    f.dialogs.notices.clear();
    f.run();
    EXPECT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    EXPECT_EQ(f.projectFolders(), std::vector<std::string>{"Fonte"});
}

TEST(SourceWindow, ANewProjectStartsFromTheDefaultSource)
{
    GuiFixture f;
    f.start();
    SourceWindow* w = f.app.windows.source;
    w->StopButton->setChecked(true);
    w->ReleaseEndEdit->setText("100");
    ASSERT_FALSE(f.app.texts.source.empty());
    f.main->action("Novo1")->trigger();
    EXPECT_EQ(f.app.texts.source, SourceTexts{});
    EXPECT_TRUE(w->ConstantButton->isChecked());
    EXPECT_EQ(w->ReleaseEndEdit->text(), "");
}

TEST(ParameterFiles, SavingFromAProjectWithSourceOptionsWarnsThatTheyAreDropped)
{
    GuiFixture f;
    f.start();
    const std::string path = f.folder.path() + "par";
    f.dialogs.files = {QString::fromStdString(path)};
    f.main->action("Salvar1")->trigger();
    EXPECT_TRUE(f.dialogs.questions.isEmpty()) << "no options, no question";
    ASSERT_TRUE(std::filesystem::exists(path + ".dat"));
    std::filesystem::remove(path + ".dat");

    f.app.windows.source->ControlPlaneEdit->setText("50");
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        f.dialogs.answers = {answer};
        f.dialogs.files = {QString::fromStdString(path)};
        f.main->action("Salvar1")->trigger();
        EXPECT_EQ(f.dialogs.questions.last(), f.app.text(AddedText::ParameterFileDropsSourceOptions));
        EXPECT_EQ(std::filesystem::exists(path + ".dat"), answer == Answer::Yes);
    }
    EXPECT_EQ(CrLfLines(ReadBytes(path + ".dat")).size(), 22u) << "the legacy format is unchanged";
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(SourceWindow, AProjectBringsItsSourceAndAPlainOneTheDefault)
{
    RunFixture f;
    SourceWindow* w = f.app.windows.source;
    w->StopButton->setChecked(true);
    w->ReleaseEndEdit->setText("1000");
    w->ControlPlaneEdit->setText("40");
    const SourceTexts source = f.app.texts.source;
    ASSERT_EQ(source, (SourceTexts{{"SourceHistory", "stop"}, {"ReleaseEnd", "1000"}, {"ControlPlaneX", "40"}}));
    f.runAs("Fonte");
    const std::string withSource = f.folder.path() + "fonte", plain = f.folder.path() + "simples";
    f.dialogs.files = {QString::fromStdString(withSource)};
    f.main->action("ToolButton4")->trigger();

    // A project of the source as it has always been.
    f.main->action("Novo1")->trigger();
    EXPECT_EQ(f.app.texts.source, SourceTexts{});
    f.runAs("Simples");
    f.dialogs.files = {QString::fromStdString(plain)};
    f.main->action("ToolButton4")->trigger();
    EXPECT_EQ(CrLfLines(ReadBytes(plain + ".kvr")).size(), 25u);

    f.dialogs.files = {QString::fromStdString(withSource + ".kvr")};
    f.main->action("Abrir2")->trigger();
    EXPECT_EQ(f.app.texts.source, source);
    EXPECT_TRUE(w->StopButton->isChecked());
    EXPECT_EQ(w->ReleaseEndEdit->text(), "1000");
    EXPECT_EQ(w->ControlPlaneEdit->text(), "40");

    f.dialogs.files = {QString::fromStdString(plain + ".kvr")};
    f.main->action("Abrir2")->trigger();
    EXPECT_EQ(f.app.texts.source, SourceTexts{});
    EXPECT_TRUE(w->ConstantButton->isChecked());
    EXPECT_EQ(w->ControlPlaneEdit->text(), "");
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
}

// A project whose control plane lies beyond its own grid is refused in the
// program's language, naming the value and that grid's X1; nothing changes.
TEST(SourceWindow, AProjectWhoseSourceItsGridCannotTakeIsRefusedInTheProgramsLanguage)
{
    RunFixture f;
    ParameterTexts texts = f.app.texts;
    texts.edit[6] = "80";
    texts.source = {{"ControlPlaneX", "90"}};
    const std::string path = f.folder.path() + "beyond.kvr";
    WriteProjectFile(path, "Longe", "12-12-26 00:00:00", texts, f.app.project.Root);
    const ParameterTexts before = f.app.texts;
    f.dialogs.files = {QString::fromStdString(path)};
    f.main->action("Abrir2")->trigger();
    ASSERT_EQ(f.dialogs.errors.size() + f.dialogs.notices.size(), 1);
    const QString shown = f.dialogs.errors.isEmpty() ? f.dialogs.notices[0] : f.dialogs.errors[0];
    EXPECT_TRUE(shown.startsWith("Plano de controle X (m):")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("(80 m)")) << shown.toStdString();
    EXPECT_EQ(f.app.texts.edit, before.edit);
    EXPECT_EQ(f.app.texts.source, before.source);
}
