#include "views/PlumeMetricsLine.h"
#include "RunFixture.h"
#include "TestSupport.h"
#include "gui/Settings.h"
#include "plume/PlumeMetrics.h"
#include "text/NumberText.h"
#include "views/TFormMapa.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

// A run of 51 × 31 points (steps of 2 m) named "Mapa", and the map window's metrics line.
struct MetricsFixture : RunFixture {
    TFormMapa* map;
    PlumeMetricsLine* line;
    MetricsFixture()
    {
        type(7, "2");
        type(9, "2");
        map = app.windows.mapa;
        line = map->findChild<PlumeMetricsLine*>("PlumeMetricsLine");
        runAs("Mapa");
        main->showWindow(map, true);
    }
    void draw(const QString& time)
    {
        map->ComboBox1->setEditText(time);
        map->BitBtn1->click();
    }
    QString shown() const { return line->MetricsText->text(); }
};

QString Number(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

// Without a standard the map window keeps its size: the line stays hidden
// and the status bar says how to set one.
TEST(PlumeMetricsLine, WithoutAStandardSaysHowToSetOne)
{
    MetricsFixture f;
    ASSERT_NE(f.line, nullptr);
    EXPECT_TRUE(f.line->isHidden()) << "no map, no line";
    f.draw("2500");
    EXPECT_TRUE(f.line->isHidden());
    EXPECT_EQ(f.line->AddedHeight(), 0);
    EXPECT_EQ(f.main->statusBar()->currentMessage(), f.app.text(AddedText::PlumeMetricsNoStandard));
    EXPECT_NE(f.main->statusBar()->currentMessage().indexOf("padrão"), -1);
}

// With one the window grows by the line, so the picture is still shown whole.
TEST(PlumeMetricsLine, TheWindowGrowsByTheLine)
{
    MetricsFixture f;
    MapOptions options;
    options.standard = 0.05;
    StoreMapOptions(options);
    f.main->resize(1600, 1000);
    QCoreApplication::processEvents();
    f.draw("2500");
    ASSERT_FALSE(f.line->isHidden());
    EXPECT_GT(f.line->AddedHeight(), f.line->height());
    EXPECT_EQ(f.map->parentWidget()->size(), QSize(836, 762 + f.line->AddedHeight()));
    QCoreApplication::processEvents();
    const auto* area = f.map->findChild<QScrollArea*>("MapaArea");
    EXPECT_GE(area->viewport()->height(), 640);
    EXPECT_GE(area->viewport()->width(), 800);
}

TEST(PlumeMetricsLine, ShowsTheDrawnTimesMeasuresAndCopiesThemWithTheirValues)
{
    MetricsFixture f;
    MapOptions options;
    options.standard = 0.05;
    StoreMapOptions(options);
    f.draw("2500");
    const PlumeMetrics m = MeasurePlume(f.app.grid, f.app.model, 0.05, 40.0);
    const char s = f.app.separator;
    const QString line = f.app.text(AddedText::PlumeMetricsLine)
                             .arg(Number(FormatGeneral(0.05, s)), Number(FormatFixed(m.length, 2, s)),
                                  Number(FormatFixed(m.width, 2, s)), Number(FormatFixed(m.area, 1, s)));
    EXPECT_EQ(f.shown(), line);
    EXPECT_GT(m.length, 60);
    EXPECT_FALSE(m.anyAtEdge());

    // A distance typed adds the largest concentration beyond it.
    f.line->BeyondEdit->setText("40");
    const QString beyond =
        line + f.app.text(AddedText::PlumeMetricsBeyond).arg("40", Number(FormatScientific(*m.maxBeyond, 3, 2, s)));
    EXPECT_EQ(f.shown(), beyond);

    // The copy: the line, the columns' titles, the values in full.
    ASSERT_TRUE(f.line->CopyButton->isEnabled());
    f.line->CopyButton->click();
    const QStringList values{"2500",
                             Number(FormatGeneral(0.05, s)),
                             Number(FormatGeneral(m.length, s)),
                             Number(FormatGeneral(m.width, s)),
                             Number(FormatGeneral(m.area, s)),
                             "40",
                             Number(FormatGeneral(*m.maxBeyond, s))};
    EXPECT_EQ(QApplication::clipboard()->text(), beyond + "\r\n" +
                                                     f.app.text(AddedText::PlumeMetricsColumns).split('|').join('\t') + "\r\n" +
                                                     values.join('\t') + "\r\n");

    // A text that is no distance, and one beyond the grid, are named.
    f.line->BeyondEdit->setText("far");
    EXPECT_EQ(f.shown(), line + f.app.text(AddedText::PlumeMetricsNotDistance).arg("far"));
    f.line->BeyondEdit->setText("101");
    EXPECT_EQ(f.shown(), line + f.app.text(AddedText::PlumeMetricsOutsideGrid).arg("101"));

    // The line belongs to the drawn time: the charts' loading another time changes nothing.
    f.app.grid = ResultGrid();
    f.line->BeyondEdit->setText("");
    EXPECT_EQ(f.shown(), line);

    f.map->ClearMapa();
    EXPECT_TRUE(f.line->isHidden());
}

TEST(PlumeMetricsLine, MarksTheMeasuresTheGridsEdgeCutsShort)
{
    MetricsFixture f;
    MapOptions options;
    options.standard = 1e-6;  // the plume of 2500 goes on past x = 100
    StoreMapOptions(options);
    f.draw("2500");
    const PlumeMetrics m = MeasurePlume(f.app.grid, f.app.model, 1e-6, std::nullopt);
    ASSERT_TRUE(m.lengthAtEdge && m.areaAtEdge);
    const char s = f.app.separator;
    EXPECT_EQ(f.shown(), f.app.text(AddedText::PlumeMetricsLine)
                                 .arg(Number(FormatGeneral(1e-6, s)), Number(FormatFixed(m.length, 2, s)) + "*",
                                      Number(FormatFixed(m.width, 2, s)) + (m.widthAtEdge ? "*" : ""),
                                      Number(FormatFixed(m.area, 1, s)) + "*") +
                             f.app.text(AddedText::PlumeMetricsLowerBound));
}

TEST(PlumeMetricsLine, SpeaksTheAppliedLanguage)
{
    MetricsFixture f;
    MapOptions options;
    options.standard = 0.05;
    StoreMapOptions(options);
    f.draw("2500");
    EXPECT_EQ(f.line->CopyButton->text(), "Copiar métricas");
    EXPECT_TRUE(f.shown().startsWith("Padrão 0")) << f.shown().toStdString();
    f.app.PortugueseActive = false;
    f.app.addedTexts.clear();
    QEvent changed(QEvent::LanguageChange);
    QApplication::sendEvent(f.line, &changed);
    EXPECT_EQ(f.line->CopyButton->text(), "Copy metrics");
    EXPECT_EQ(f.line->BeyondCaption->text(), "Beyond x (m):");
    EXPECT_TRUE(f.shown().startsWith("Standard 0")) << f.shown().toStdString();
    EXPECT_EQ(f.app.text(AddedText::PlumeMetricsNoStandard),
              "Plume metrics: set a standard (mg/L) in the map's options to see the length, width and area above it.");
}
