#include "GuiFixture.h"
#include "frame/LanguageLoader.h"
#include "frame/TFormFerramenta.h"
#include "observations/TObservacao.h"
#include "project/TFormDados.h"
#include "project/TFormExportGRD.h"
#include "text/Errors.h"
#include "text/TextFile.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

namespace {

// Line n of a shipped language file, as the loader reads it.
QString fileLine(const AppState& app, const char* file, int line)
{
    TextFileReader reader((app.executableFolder + QString::fromUtf8(file)).toStdString());
    std::string text;
    for (int n = 1; n <= line; ++n) text = reader.readLine();
    return QString::fromStdString(text);
}

QStringList items(QComboBox* combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list;
}

template <class T>
T* control(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(name);
    EXPECT_TRUE(found) << name;
    return found;
}

}  // namespace

TEST(LanguageFiles, HoldTheWindowsLinesThenTheAutomaticFitsLines)
{
    GuiFixture f;
    for (const char* file : {"idiomport.txt", "idiominglês.txt"}) {
        const std::string bytes = kavrin::test::ReadBytes((f.app.executableFolder + QString::fromUtf8(file)).toStdString());
        EXPECT_EQ(kavrin::test::CrLfLines(bytes).size(), 125u + FitPanel::kLanguageLines + kAddedTextLines) << file;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    }
    EXPECT_EQ(fileLine(f.app, "idiomport.txt", 74), QString::fromUtf8("Perfil Transversal de concentração"));
    EXPECT_EQ(fileLine(f.app, "idiominglês.txt", 72), "Longitudinal profile of concentration");
}

TEST(LoadLanguage, EveryTargetOfALineTakesItsText)
{
    GuiFixture f;
    f.start();
    LoadLanguage(f.app, Language::English);
    const Windows& w = f.app.windows;
    EXPECT_FALSE(f.app.PortugueseActive);
    // Line 9: three targets in three windows.
    EXPECT_EQ(f.main->action("Abrir1")->text(), "&Open");
    EXPECT_EQ(control<QLabel>(w.exportGrd, "Label1")->text(), "&Open");
    EXPECT_EQ(f.main->action("Abrir2")->text(), "&Open");
    // Line 37: a menu item, a hint, a window caption and a group box.
    EXPECT_EQ(f.main->action("Grficos1")->text(), "Charts");
    EXPECT_EQ(f.main->action("ToolButton9")->toolTip(), "Charts");
    EXPECT_EQ(qobject_cast<QMdiSubWindow*>(w.grafico->parentWidget())->windowTitle(), "Charts");
    EXPECT_EQ(control<QGroupBox>(w.grafico, "GroupBox2")->title(), "Charts");
    // Line 22: the cancel buttons; line 29 only the export window's OK.
    EXPECT_EQ(control<QPushButton>(w.ferramenta, "BitBtn2")->text(), "Cancel");
    EXPECT_EQ(control<QPushButton>(w.observacao, "BitBtn2")->text(), "Cancel");
    EXPECT_EQ(control<QPushButton>(w.exportGrd, "BitBtn1")->text(), "OK");
    // Tabs, axis titles, series, grid headings, the slider's hint.
    EXPECT_EQ(control<QTabWidget>(w.ferramenta, "PageControl1")->tabText(1), "Languages");
    EXPECT_EQ(control<QChartView>(w.observacao, "Chart1")->chart()->axes(Qt::Vertical).first()->titleText(),
              "Calculated concentration (mg/L)");
    EXPECT_EQ(control<QChartView>(w.grafico, "Chart1")->chart()->axes(Qt::Horizontal).first()->titleText(), "Distance (m)");
    EXPECT_EQ(control<QChartView>(w.observacao, "Chart1")->chart()->series().at(1)->name(),
              "Calculated versus observed concentrations");
    auto* grid = control<QTableWidget>(w.observacao, "StringGrid1");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Observation");
    EXPECT_EQ(grid->horizontalHeaderItem(5)->text(), "     T (days)");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "     C (mg/L)");
    EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), "     Weight");
    EXPECT_EQ(control<QSlider>(w.animacao, "RxSlider1")->toolTip(), "Animation speed");
    // Texts the table does not name keep their built-in Portuguese.
    EXPECT_EQ(f.main->action("Calibrao1")->text(), QString::fromUtf8("Calibração"));
    EXPECT_EQ(control<QLabel>(w.dados, "Label7")->text(), "DX (m):");
    EXPECT_TRUE(f.main->windowTitle().startsWith("KAVRIN"));
    EXPECT_EQ(f.app.messages.MsgRunFinished, fileLine(f.app, "idiominglês.txt", 103));
    EXPECT_EQ(f.app.messages.MsgTimeStepInvalid, fileLine(f.app, "idiominglês.txt", 115));
}

TEST(LoadLanguage, EveryTargetOfTheLineTableFindsItsControl)
{
    GuiFixture f;
    f.start();
    EXPECT_EQ(LanguageTargetsNotFound(f.app), QStringList());
    // A control renamed away is named, not passed over in silence.
    f.app.windows.grafico->findChild<QObject*>("CopyButton")->setObjectName("Renamed");
    f.app.windows.observacao->findChild<QChartView*>("Chart1")->chart()->series().at(0)->setObjectName("Renamed");
    EXPECT_EQ(LanguageTargetsNotFound(f.app), (QStringList{"line 98: TObservacao Series2", "line 117: TFormGrafico CopyButton"}));
}

TEST(LoadLanguage, TheChartKindListAlwaysHoldsThreeItems)
{
    GuiFixture f;
    f.start();
    QComboBox* kinds = f.app.windows.grafico->ComboBox2;
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(items(kinds), (QStringList{"Concentration x Time", "Longitudinal profile of concentration",
                                         "Transversal profile of concentration"}));
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(items(kinds),
              (QStringList{QString::fromUtf8("Concentração x Tempo"), QString::fromUtf8("Perfil longitudinal de concentração"),
                           QString::fromUtf8("Perfil Transversal de concentração")}));
    EXPECT_EQ(kinds->currentText(), QString::fromUtf8("Concentração x Tempo"));
    EXPECT_TRUE(f.app.PortugueseActive);
    EXPECT_EQ(f.app.messages.MsgConfirmExit, fileLine(f.app, "idiomport.txt", 7));
}

TEST(LoadLanguage, ShortFilesEmptyTheRestAndMissingFilesChangeNothing)
{
    GuiFixture f;
    f.start();
    const std::string folder = f.folder.path() + "bin/";
    std::filesystem::create_directories(folder);
    kavrin::test::WriteBytes(folder + "idiomport.txt", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\nSair?\r\n");
    f.app.executableFolder = QString::fromStdString(folder);
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(f.app.messages.MsgConfirmExit, "Sair?");
    EXPECT_EQ(f.main->findChild<QMenu*>("Arquivo1")->title(), "");
    EXPECT_EQ(f.app.messages.MsgRunFinished, "");
    EXPECT_EQ(f.app.windows.grafico->ComboBox2->count(), 3);

    EXPECT_THROW(LoadLanguage(f.app, Language::English), FileError);
    EXPECT_FALSE(f.app.PortugueseActive) << "the flag already holds the language asked for";
    EXPECT_EQ(f.app.messages.MsgConfirmExit, "Sair?");
}

TEST(LoadLanguage, APipeInPlaceOfTheLanguageFileIsRefusedAtOnce)
{
    GuiFixture f;
    kavrin::test::TempFolder folder;
    const std::string pipe = folder.path() + "idiomport.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    f.app.executableFolder = QString::fromStdString(folder.path());
    EXPECT_EQ(kavrin::test::FailureTextWithin(5, [&] { LoadLanguage(f.app, Language::Portuguese); }),
              pipe + " is not a file (a folder, a device or a pipe); choose a file.");
}
