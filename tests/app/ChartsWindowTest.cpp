#include "ChartLabels.h"
#include "RunFixture.h"
#include "TestSupport.h"
#include "frame/LanguageLoader.h"
#include "gui/ChartDetailLine.h"
#include "text/NumberText.h"
#include "views/TFormGrafico.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QValueAxis>
#include <functional>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;
using kavrin::test::WriteBytes;

namespace {

// The window's own setting of a control, whatever its group box says.
bool enabledOwn(QWidget* window, const char* name)
{
    auto* control = window->findChild<QWidget*>(name);
    EXPECT_TRUE(control) << name;
    return control && !control->testAttribute(Qt::WA_ForceDisabled);
}

QStringList items(const QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list;
}

QList<QPointF> points(const TFormGrafico* w)
{
    return w->Series1->points();
}

QString bottomTitle(const TFormGrafico* w)
{
    return w->Chart1->chart()->axes(Qt::Horizontal).first()->titleText();
}

// The user picks a text in ComboBox2, or types it.
void pickKind(TFormGrafico* w, const QString& text)
{
    w->ComboBox2->lineEdit()->setText(text);
    emit w->ComboBox2->lineEdit()->textEdited(text);
}

// A run of the fixture's small grid (X 0…100 by 10, Y −30…30 by 10, times 0 and 2500).
struct ChartsFixture : RunFixture {
    TFormGrafico* w;
    ChartsFixture()
    {
        runAs("Graf");
        w = app.windows.grafico;
        dialogs.notices.clear();
    }
    ResultGrid timeGrid(const char* tempo) const
    {
        ResultGrid grid;
        EXPECT_TRUE(LoadResultFile(ResultFilePath(root(), "Graf", tempo), grid, '.'));
        return grid;
    }
    void click() { w->BitBtn1->click(); }
};

const QStringList kXPositions = {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"};
const QStringList kYPositions = {"-30", "-20", "-10", "0", "10", "20", "30"};

}  // namespace

TEST(ChartsWindow, ActivationWithoutResultsDisablesEverythingAndSaysWhy)
{
    GuiFixture f;
    f.start();
    TFormGrafico* w = f.app.windows.grafico;
    EXPECT_FALSE(w->BitBtn1->isEnabled());
    w->FormActivate();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgChartsNeedResults});
    EXPECT_FALSE(f.app.messages.MsgChartsNeedResults.isEmpty());
    for (const char* name : {"BitBtn1", "GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "ComboBox1", "ComboBox2", "ComboBox3",
                             "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7"})
        EXPECT_FALSE(enabledOwn(w, name)) << name;
}

TEST(ChartsWindow, ActivationWithResultsOffersTheNodesOfTheGrid)
{
    ChartsFixture f;
    f.w->ComboBox1->addItem("stale");
    f.w->FormActivate();
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    EXPECT_EQ(items(f.w->ComboBox4), kXPositions);
    EXPECT_EQ(f.w->ComboBox4->currentText(), "0");
    EXPECT_EQ(items(f.w->ComboBox5), kYPositions);
    EXPECT_EQ(f.w->ComboBox5->currentText(), "-30");
    for (QComboBox* list : {f.w->ComboBox1, f.w->ComboBox3, f.w->ComboBox6, f.w->ComboBox7}) {
        EXPECT_EQ(list->count(), 0);
        EXPECT_EQ(list->currentText(), "");
    }
    for (const char* name : {"ComboBox1", "ComboBox3", "ComboBox6", "ComboBox7", "GroupBox4", "GroupBox1"})
        EXPECT_FALSE(enabledOwn(f.w, name)) << name;
    for (const char* name : {"BitBtn1", "GroupBox2", "ComboBox2", "GroupBox3", "ComboBox4", "ComboBox5"})
        EXPECT_TRUE(enabledOwn(f.w, name)) << name;
}

TEST(ChartsWindow, AnActivationWithResultsAfterOneWithoutGivesTheKindsBack)
{
    ChartsFixture f;
    f.app.project.ResultsExist = false;
    f.w->FormActivate();
    f.app.project.ResultsExist = true;
    f.w->FormActivate();
    for (const char* name : {"BitBtn1", "GroupBox2", "ComboBox2", "GroupBox3", "Label1", "ComboBox4", "ComboBox5"})
        EXPECT_TRUE(enabledOwn(f.w, name)) << name;
}

TEST(ChartsWindow, AnActivationEnablesTheNodesControlsOnlyForTheConcentrationTimeChart)
{
    const std::vector<const char*> nodeControls = {"GroupBox3", "Label1", "Label2", "ComboBox4", "ComboBox5"};
    struct Case {
        const char* kind;
        bool afterOneWithoutResults;
        bool nodeControlsEnabled;
    };
    const Case cases[] = {
        {"Concentração x Tempo", false, true},
        {"Concentração x Tempo", true, true},
        {"Perfil longitudinal de concentração", false, false},
        {"Perfil longitudinal de concentração", true, false},
        {"Perfil Transversal de concentração", false, false},
        {"Transversal profile of concentration", true, false},
    };
    for (const Case& c : cases) {
        ChartsFixture f;
        f.w->FormActivate();
        pickKind(f.w, QString::fromUtf8(c.kind));
        if (c.afterOneWithoutResults) {
            f.app.project.ResultsExist = false;
            f.w->FormActivate();
            f.app.project.ResultsExist = true;
        }
        f.w->FormActivate();
        for (const char* name : nodeControls) EXPECT_EQ(enabledOwn(f.w, name), c.nodeControlsEnabled) << c.kind << " " << name;
        EXPECT_EQ(items(f.w->ComboBox4), kXPositions) << "the node's lists are filled all the same";
        for (const char* name : {"BitBtn1", "GroupBox2", "ComboBox2"})
            EXPECT_TRUE(enabledOwn(f.w, name)) << c.kind << " " << name;
        for (const char* name : {"GroupBox1", "ComboBox1", "ComboBox3", "GroupBox4", "ComboBox6", "ComboBox7"})
            EXPECT_FALSE(enabledOwn(f.w, name)) << c.kind << " " << name;
    }
}

TEST(ChartsWindow, EachKindEnablesItsControlsAndFillsItsListsInBothLanguages)
{
    struct Case {
        const char* text;
        int kind;  // 0 node, 1 longitudinal, 2 transversal
    };
    const Case cases[] = {
        {"Concentração x Tempo", 0},
        {"Concentration x Time", 0},
        {"Perfil longitudinal de concentração", 1},
        {"Longitudinal profile of concentration", 1},
        {"Perfil Transversal de concentração", 2},
        {"Transversal profile of concentration", 2},
    };
    const std::vector<std::vector<const char*>> controls = {
        {"GroupBox3", "Label1", "Label2", "ComboBox4", "ComboBox5"},
        {"GroupBox1", "ComboBox1", "ComboBox3", "Label3", "Tempo"},
        {"GroupBox4", "ComboBox6", "ComboBox7", "Label4", "Label5"},
    };
    ChartsFixture f;
    f.w->FormActivate();
    for (const Case& c : cases) {
        pickKind(f.w, QString::fromUtf8(c.text));
        for (int kind = 0; kind < 3; ++kind)
            for (const char* name : controls[static_cast<std::size_t>(kind)])
                EXPECT_EQ(enabledOwn(f.w, name), kind == c.kind) << c.text << " " << name;
        if (c.kind == 1) {
            EXPECT_EQ(items(f.w->ComboBox1), (QStringList{"0", "2500"}));
            EXPECT_EQ(items(f.w->ComboBox3), kYPositions);
            EXPECT_EQ(f.w->ComboBox3->currentText(), "-30");
        }
        if (c.kind == 2) {
            EXPECT_EQ(items(f.w->ComboBox6), (QStringList{"0", "2500"}));
            EXPECT_EQ(f.w->ComboBox6->currentText(), "0");
            EXPECT_EQ(items(f.w->ComboBox7), kXPositions);
        }
    }
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(ChartsWindow, TheDesignItemWithASmallTIsNoKind)
{
    ChartsFixture f;
    LoadLanguage(f.app, Language::English);
    f.w->FormActivate();
    pickKind(f.w, "Longitudinal profile of concentration");
    f.w->ComboBox3->setEditText("0");
    f.w->ComboBox1->setEditText("2500");
    f.click();
    const QList<QPointF> drawn = points(f.w);
    ASSERT_EQ(drawn.size(), 11);

    pickKind(f.w, QString::fromUtf8("Perfil transversal de concentração"));
    EXPECT_TRUE(enabledOwn(f.w, "GroupBox1"));  // nothing changed
    EXPECT_FALSE(enabledOwn(f.w, "GroupBox4"));
    EXPECT_EQ(f.w->ComboBox6->count(), 0);
    f.click();
    EXPECT_EQ(points(f.w), drawn);
    EXPECT_EQ(f.w->Chart1->chart()->title(), "Longitudinal profile of concentration");
    EXPECT_EQ(TFormGrafico::KindOf(QString::fromUtf8("Perfil transversal de concentração")), TFormGrafico::Kind::None);
    EXPECT_EQ(TFormGrafico::KindOf(QString::fromUtf8("concentração x tempo")), TFormGrafico::Kind::None);
}

TEST(ChartsWindow, UpdateRightAfterActivationDrawsTheFirstNodeAtEveryTime)
{
    ChartsFixture f;
    f.w->FormActivate();
    ASSERT_EQ(f.w->ComboBox2->currentText(), QString::fromUtf8("Concentração x Tempo"));
    f.w->ComboBox4->setEditText("40");  // a node where the plume has arrived
    f.click();
    EXPECT_EQ(points(f.w), (QList<QPointF>{{0, f.timeGrid("0").at(5, 1)}, {2500, f.timeGrid("2500").at(5, 1)}}));
    EXPECT_EQ(f.w->Chart1->chart()->title(), f.app.messages.MsgTitleConcTime);
    EXPECT_EQ(bottomTitle(f.w), f.app.messages.MsgAxisTime);
    EXPECT_EQ(f.w->Chart1->chart()->axes(Qt::Vertical).first()->titleText(), QString::fromUtf8("Concentração (mg/L)"));

    f.w->ComboBox4->setEditText("0");
    f.w->ComboBox5->setEditText("0");
    f.click();
    EXPECT_EQ(points(f.w), (QList<QPointF>{{0, f.timeGrid("0").at(1, 4)}, {2500, f.timeGrid("2500").at(1, 4)}}));
    EXPECT_GT(points(f.w).back().y(), 0);
}

TEST(ChartsWindow, ProfilesReadTheLoadedTime)
{
    ChartsFixture f;
    f.w->FormActivate();
    const ResultGrid last = f.timeGrid("2500");

    pickKind(f.w, QString::fromUtf8("Perfil longitudinal de concentração"));
    f.w->ComboBox1->setEditText("2500");
    f.w->ComboBox3->setEditText("10");
    f.click();
    QList<QPointF> expected;
    for (int i = 1; i <= 11; ++i) expected << QPointF(10.0 * (i - 1), last.at(i, 5));
    EXPECT_EQ(points(f.w), expected);
    EXPECT_EQ(f.w->Chart1->chart()->title(), f.app.messages.MsgTitleLongProfile);
    EXPECT_EQ(bottomTitle(f.w), f.app.messages.MsgAxisDistance);

    pickKind(f.w, QString::fromUtf8("Perfil Transversal de concentração"));
    f.w->ComboBox6->setEditText("2500");
    f.w->ComboBox7->setEditText("24.9");  // the node x = 20
    f.click();
    expected.clear();
    for (int j = 1; j <= 7; ++j) expected << QPointF(-30 + 10.0 * (j - 1), last.at(3, j));
    EXPECT_EQ(points(f.w), expected);
    EXPECT_EQ(f.w->Chart1->chart()->title(), f.app.messages.MsgTitleTransProfile);
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(ChartsWindow, AProfileRightAfterActivationConvertsTheEmptyText)
{
    ChartsFixture f;
    f.w->ComboBox2->setEditText(QString::fromUtf8("Perfil longitudinal de concentração"));
    f.w->FormActivate();
    f.click();
    EXPECT_EQ(f.dialogs.errors, QStringList{"'' is not a valid floating point value"});
    EXPECT_EQ(f.w->Chart1->chart()->title(), f.app.messages.MsgTitleLongProfile);
    EXPECT_TRUE(points(f.w).isEmpty());
}

TEST(ChartsWindow, AProfileTakesTheTimeTextVerbatim)
{
    ChartsFixture f;
    f.w->FormActivate();
    pickKind(f.w, QString::fromUtf8("Perfil longitudinal de concentração"));
    f.w->ComboBox1->setEditText("2500.0");
    f.w->ComboBox3->setEditText("0");
    f.click();
    // No file is named "T2500.0": the time has no results, and the grid the
    // run left is not shown under its label.
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::TimeWithoutCompleteResults).arg("2500.0")});
    EXPECT_TRUE(points(f.w).isEmpty());
}

// A profile's time must be one the run's index lists, with a whole results
// file; any other is refused naming the time, and no other time's values are
// drawn under its label.
TEST(ChartsWindow, AProfileOfATimeWithoutCompleteResultsIsRefusedNamingTheTime)
{
    struct Case {
        const char* name;
        std::function<void(ChartsFixture&)> damage;
        const char* tempo;
        QStringList listed;
    };
    const Case cases[] = {
        {"never computed", [](ChartsFixture&) {}, "77", {"0", "2500"}},
        {"cancelled after the first time",
         [](ChartsFixture& f) {
             const std::string index = f.root() + "Graf/Index.txt";
             WriteBytes(index, kavrin::test::CrLfLines(ReadBytes(index))[0] + "\r\n");
         },
         "2500",
         {"0"}},
        {"empty file of a failed run",
         [](ChartsFixture& f) { WriteBytes(ResultFilePath(f.root(), "Graf", "2500"), ""); },
         "2500",
         {"0", "2500"}},
        {"cut file",
         [](ChartsFixture& f) {
             const std::string path = ResultFilePath(f.root(), "Graf", "2500");
             const std::string text = ReadBytes(path);
             WriteBytes(path, text.substr(0, text.size() / 2));
         },
         "2500",
         {"0", "2500"}},
    };
    for (const Case& c : cases) {
        for (const char* kind : {"Longitudinal profile of concentration", "Transversal profile of concentration"}) {
            ChartsFixture f;
            c.damage(f);
            const ResultGrid before = f.app.grid;
            f.w->FormActivate();
            pickKind(f.w, kind);
            const bool longitudinal = QString(kind).startsWith("Long");
            QComboBox* times = longitudinal ? f.w->ComboBox1 : f.w->ComboBox6;
            EXPECT_EQ(items(times), c.listed) << c.name;
            times->setEditText(c.tempo);
            (longitudinal ? f.w->ComboBox3 : f.w->ComboBox7)->setEditText("0");
            f.click();
            EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::TimeWithoutCompleteResults).arg(c.tempo)}) << c.name;
            EXPECT_TRUE(f.dialogs.errors.isEmpty()) << c.name;
            EXPECT_TRUE(points(f.w).isEmpty()) << c.name;
            EXPECT_TRUE(ChartDetailLine(f.w->Chart1->chart()).isEmpty()) << c.name;
            for (int i = 1; i <= 11; ++i)
                for (int j = 1; j <= 7; ++j) ASSERT_EQ(f.app.grid.at(i, j), before.at(i, j)) << c.name;
        }
    }
}

// Under the specified title a second line says where and when.
TEST(ChartsWindow, ASecondLineUnderTheTitleSaysWhereAndWhen)
{
    ChartsFixture f;
    f.w->FormActivate();
    f.w->ComboBox4->setEditText("40");
    f.w->ComboBox5->setEditText("4");  // the node y = 0
    f.click();
    EXPECT_EQ(f.w->Chart1->chart()->title(), f.app.messages.MsgTitleConcTime);
    EXPECT_EQ(ChartDetailLine(f.w->Chart1->chart()), QString::fromUtf8("No nó X = 40 m, Y = 0 m"));

    pickKind(f.w, QString::fromUtf8("Perfil longitudinal de concentração"));
    f.w->ComboBox1->setEditText("2500");
    f.w->ComboBox3->setEditText("10");
    f.click();
    EXPECT_EQ(ChartDetailLine(f.w->Chart1->chart()), "Tempo = 2500 dias, ao longo de Y = 10 m");

    LoadLanguage(f.app, Language::English);
    pickKind(f.w, "Transversal profile of concentration");
    f.w->ComboBox6->setEditText("0");
    f.w->ComboBox7->setEditText("24.9");
    f.click();
    EXPECT_EQ(ChartDetailLine(f.w->Chart1->chart()), "Time = 0 days, along X = 20 m");

    f.main->action("Novo1")->trigger();
    EXPECT_TRUE(ChartDetailLine(f.w->Chart1->chart()).isEmpty());
}

// The charts window can be maximised, and its chart takes the room it gets.
TEST(ChartsWindow, MaximisedTheChartFillsTheWindow)
{
    ChartsFixture f;
    auto* frame = qobject_cast<QMdiSubWindow*>(f.w->parentWidget());
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->windowFlags() & Qt::WindowMaximizeButtonHint, 0);
    f.main->resize(1366, 768);
    QApplication::processEvents();
    frame->move(900, 500);  // where the frame would place it after others
    f.main->showWindow(f.w, true);
    EXPECT_TRUE(QRect(QPoint(0, 0), f.main->mdiArea()->viewport()->size()).contains(frame->geometry()));
    frame->showMaximized();
    QApplication::processEvents();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->size(), f.main->mdiArea()->viewport()->size());
    EXPECT_GT(f.w->Chart1->width(), f.w->width() / 2);
    EXPECT_GT(f.w->Chart1->height(), f.w->height() - 60);
}

// The tick labels are drawn (a label format without a precision drew none).
TEST(ChartsWindow, TickLabelsAreDrawn)
{
    ChartsFixture f;
    f.w->FormActivate();
    pickKind(f.w, QString::fromUtf8("Concentração x Tempo"));
    f.click();
    const QStringList shown = kavrin::test::ShownChartTexts(f.w->Chart1);
    EXPECT_TRUE(shown.contains("0.2")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("1250")) << shown.join(" | ").toStdString();
}
