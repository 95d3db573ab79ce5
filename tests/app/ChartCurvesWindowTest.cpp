// Several curves on the charts window's chart, its logarithmic concentration
// axis, the user's standard as a line, and the values copied and saved; with
// none of them the chart and its picture are the single curve's as before.
#include "RunFixture.h"
#include "frame/LanguageLoader.h"
#include "gui/ChartCurves.h"
#include "gui/ChartDetailLine.h"
#include "gui/Settings.h"
#include "text/NumberText.h"
#include "views/TFormGrafico.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPushButton>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

namespace {

// A run of the fixture's grid (X 0…100 by 10, Y −30…30 by 10) from 0 by 2500 days, five times by default.
struct CurvesFixture : RunFixture {
    TFormGrafico* w;
    explicit CurvesFixture(const char* lastTime = "10000")
    {
        type(12, lastTime);
        runAs("Graf");
        w = app.windows.grafico;
        w->FormActivate();
        dialogs.notices.clear();
    }
    void pick(const QString& kind)
    {
        w->ComboBox2->lineEdit()->setText(kind);
        emit w->ComboBox2->lineEdit()->textEdited(kind);
    }
    void node(const char* x, const char* y)
    {
        w->ComboBox4->setEditText(x);
        w->ComboBox5->setEditText(y);
        w->BitBtn1->click();
    }
    void longitudinal(const char* tempo, const char* y)
    {
        w->ComboBox1->setEditText(tempo);
        w->ComboBox3->setEditText(y);
        w->BitBtn1->click();
    }
    QImage savedPicture(const char* name)
    {
        dialogs.files = {QString::fromStdString(folder.path() + name)};
        main->action("Graficos1")->trigger();
        return QImage(QString::fromStdString(folder.path() + name)).convertToFormat(QImage::Format_RGB888);
    }
    std::vector<QLineSeries*> drawn() const
    {
        std::vector<QLineSeries*> series;
        for (QAbstractSeries* s : w->Chart1->chart()->series())
            if (s->objectName() == "ChartCurve") series.push_back(static_cast<QLineSeries*>(s));
        return series;
    }
    QLineSeries* standardLine() const
    {
        for (QAbstractSeries* s : w->Chart1->chart()->series())
            if (s->objectName() == "StandardLine") return static_cast<QLineSeries*>(s);
        return nullptr;
    }
    QStringList legend() const
    {
        QStringList names;
        for (QLegendMarker* marker : w->Chart1->chart()->legend()->markers())
            if (!marker->label().isEmpty()) names << marker->label();
        return names;
    }
    std::string detail() const { return ChartDetailLine(w->Chart1->chart()).toStdString(); }
    // The concentration axis shown.
    QAbstractAxis* leftAxis() const
    {
        for (QAbstractAxis* axis : w->Chart1->chart()->axes(Qt::Vertical))
            if (axis->isVisible()) return axis;
        return nullptr;
    }
};

const QString kNodeKind = QString::fromUtf8("Concentração x Tempo");
const QString kLongitudinalKind = QString::fromUtf8("Perfil longitudinal de concentração");

QImage golden(const char* name)
{
    return QImage(QString(KAVRIN_TEST_DATA_DIR) + name).convertToFormat(QImage::Format_RGB888);
}

}  // namespace

// The pictures in tests/data were saved by the program before it could show
// more than one curve, each the first chart of its window.
TEST(ChartCurvesWindow, OneCurveWithoutOptionsSavesThePictureItAlwaysDid)
{
    {
        CurvesFixture f("2500");
        f.node("40", "0");
        const QImage node = f.savedPicture("node.jpeg");
        ASSERT_FALSE(node.isNull());
        EXPECT_TRUE(node == golden("chart-node.png"));
    }
    CurvesFixture f("2500");
    f.pick(kLongitudinalKind);
    f.longitudinal("2500", "0");
    EXPECT_TRUE(f.savedPicture("profile.jpeg") == golden("chart-profile.png"));
}

// Curves added, the logarithmic axis and back: the chart is its single series again.
TEST(ChartCurvesWindow, ClearedAndLinearTheChartIsItsOwnSeriesAgain)
{
    CurvesFixture f;
    QChart* chart = f.w->Chart1->chart();
    QAbstractAxis* linear = chart->axes(Qt::Vertical).first();
    const QPen pen = f.w->Series1->pen();
    f.node("40", "0");
    f.w->AddCurveButton->click();
    f.node("60", "0");
    f.w->LogarithmicAxis->setChecked(true);
    f.w->ClearCurvesButton->click();
    f.w->LogarithmicAxis->setChecked(false);
    EXPECT_EQ(chart->series(), (QList<QAbstractSeries*>{f.w->Series1}));
    for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) EXPECT_EQ(axis->isVisible(), axis == linear);
    EXPECT_EQ(f.w->Series1->attachedAxes().size(), 2);
    EXPECT_EQ(f.w->Series1->pen(), pen);
    EXPECT_EQ(f.w->Series1->name(), "");
    EXPECT_FALSE(chart->legend()->isVisible());
    EXPECT_EQ(f.detail(), "No nó X = 60 m, Y = 0 m");
}

TEST(ChartCurvesWindow, ThreeNodesOnOneChartEachNamedInAColourOfItsOwn)
{
    CurvesFixture f;
    f.node("40", "0");
    const QList<QPointF> first = f.w->Series1->points();
    f.w->AddCurveButton->click();
    EXPECT_TRUE(f.w->Series1->points().isEmpty()) << "the added curve is drawn once";
    f.node("60", "0");
    f.w->AddCurveButton->click();
    f.node("80", "10");
    EXPECT_TRUE(f.dialogs.notices.isEmpty()) << f.dialogs.notices.join(" ").toStdString();

    const std::vector<QLineSeries*> curves = f.drawn();
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(curves[0]->points(), first);
    EXPECT_EQ(curves[2]->points(), f.w->Series1->points());
    EXPECT_FALSE(f.w->Chart1->chart()->series().contains(f.w->Series1));
    EXPECT_EQ(f.legend(), (QStringList{"X = 40 m, Y = 0 m", "X = 60 m, Y = 0 m", "X = 80 m, Y = 10 m"}));
    EXPECT_TRUE(f.w->Chart1->chart()->legend()->isVisible());
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(curves[k]->pen(), ChartCurves::CurvePen(k));
        EXPECT_LT(curves[k]->pen().color().lightness(), 160) << "dark enough on paper";
        for (std::size_t other = 0; other < k; ++other) EXPECT_NE(curves[k]->pen().color(), curves[other]->pen().color());
    }
    EXPECT_EQ(f.detail(), "") << "the legend names the nodes";

    // The values as columns: one time column, a column per node.
    f.w->CopyButton->click();
    const QStringList lines = QApplication::clipboard()->text().split("\r\n");
    ASSERT_EQ(lines.size(), 7);  // a heading, five times, the last line's end
    EXPECT_EQ(lines[0], QString::fromUtf8("Tempo (dias)\tConcentração (mg/L): X = 40 m, Y = 0 m\tConcentração (mg/L): X = 60 m, "
                                          "Y = 0 m\tConcentração (mg/L): X = 80 m, Y = 10 m"));
    EXPECT_TRUE(lines[5].startsWith("10000\t")) << lines[5].toStdString();

    // Cleared, the drawn curve stays alone as it always was.
    f.w->ClearCurvesButton->click();
    EXPECT_TRUE(f.drawn().empty());
    EXPECT_TRUE(f.w->Chart1->chart()->series().contains(f.w->Series1));
    EXPECT_FALSE(f.w->Chart1->chart()->legend()->isVisible());
    EXPECT_EQ(f.detail(), "No nó X = 80 m, Y = 10 m");
}

TEST(ChartCurvesWindow, ProfilesOfSeveralTimesAreNamedByTheirTimes)
{
    CurvesFixture f;
    f.pick(kLongitudinalKind);
    f.longitudinal("2500", "0");
    f.w->AddCurveButton->click();
    f.longitudinal("5000", "0");
    f.w->AddCurveButton->click();
    f.longitudinal("10000", "0");
    EXPECT_EQ(f.legend(), (QStringList{"2500 dias", "5000 dias", "10000 dias"}));
    EXPECT_EQ(f.detail(), "Ao longo de Y = 0 m");

    // One at another line: each names its line.
    f.longitudinal("10000", "10");
    EXPECT_EQ(f.legend(), (QStringList{"2500 dias, Y = 0 m", "5000 dias, Y = 0 m", "10000 dias, Y = 10 m"}));
    EXPECT_EQ(f.detail(), "");

    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(f.legend(), (QStringList{"2500 days, Y = 0 m", "5000 days, Y = 0 m", "10000 days, Y = 10 m"}));
    EXPECT_EQ(f.w->AddCurveButton->text(), "Add curve");
    EXPECT_EQ(f.w->LogarithmicAxis->text(), "Logarithmic axis");

    // A chart of another kind starts without them.
    f.pick("Concentration x Time");
    f.node("40", "0");
    EXPECT_TRUE(f.drawn().empty());
    EXPECT_TRUE(f.w->Chart1->chart()->series().contains(f.w->Series1));
}

TEST(ChartCurvesWindow, AddingNothingOrTheSameCurveTwiceIsRefused)
{
    CurvesFixture f;
    f.w->AddCurveButton->click();
    f.node("40", "0");
    f.w->AddCurveButton->click();
    f.node("40", "0");
    f.w->AddCurveButton->click();
    EXPECT_EQ(f.dialogs.notices,
              (QStringList{f.app.text(AddedText::ChartNoCurveToAdd), f.app.text(AddedText::ChartCurveAlreadyAdded)}));
    EXPECT_EQ(f.drawn().size(), 2u) << "the held curve and the drawn one";
    EXPECT_EQ(f.w->Series1->count(), 5);
}

TEST(ChartCurvesWindow, TheLogarithmicAxisLeavesOutZerosAndSaysHowMany)
{
    CurvesFixture f;
    f.node("100", "30");  // zero at time 0 and where the plume has not arrived
    const QList<QPointF> values = f.w->Series1->points();
    const auto zeros = std::count_if(values.begin(), values.end(), [](const QPointF& p) { return p.y() <= 0; });
    ASSERT_GT(zeros, 0);
    ASSERT_LT(zeros, values.size());
    f.w->LogarithmicAxis->setChecked(true);
    auto* axis = qobject_cast<QLogValueAxis*>(f.leftAxis());
    ASSERT_TRUE(axis);
    EXPECT_EQ(axis->titleText(), QString::fromUtf8("Concentração (mg/L)"));
    double smallest = 1e300, largest = 0;
    for (const QPointF& p : values)
        if (p.y() > 0) smallest = std::min(smallest, p.y()), largest = std::max(largest, p.y());
    EXPECT_LE(axis->min(), std::max(smallest, axis->max() / 1e10));
    EXPECT_GE(axis->max(), largest);
    EXPECT_EQ(std::log10(axis->min()), std::round(std::log10(axis->min()))) << "whole decades";
    EXPECT_EQ(f.detail(),
              "No nó X = 100 m, Y = 30 m; Valores nulos ou negativos fora do eixo logarítmico: " + std::to_string(zeros));
    qsizetype drawn = 0;
    for (QLineSeries* piece : f.drawn()) {
        for (const QPointF& p : piece->points()) EXPECT_GT(p.y(), 0);
        drawn += piece->count();
    }
    EXPECT_EQ(drawn + zeros, values.size());
    EXPECT_EQ(f.w->Series1->points(), values) << "the values themselves stay";

    f.w->LogarithmicAxis->setChecked(false);
    EXPECT_TRUE(qobject_cast<QValueAxis*>(f.leftAxis()));
    EXPECT_EQ(f.detail(), "No nó X = 100 m, Y = 30 m");
}

TEST(ChartCurvesWindow, TheStandardIsALineNamedInTheLegend)
{
    CurvesFixture f;
    MapOptions options;
    options.standard = 5.0;  // above every value: the axis reaches it
    StoreMapOptions(options);
    f.node("40", "0");
    QLineSeries* line = f.standardLine();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->name(), "Padrão 5 mg/L");
    EXPECT_EQ(line->points(), (QList<QPointF>{{0, 5}, {10000, 5}}));
    EXPECT_EQ(f.legend(), (QStringList{"X = 40 m, Y = 0 m", "Padrão 5 mg/L"}));
    auto* axis = qobject_cast<QValueAxis*>(f.leftAxis());
    EXPECT_GE(axis->max(), 5);
    EXPECT_TRUE(f.w->Chart1->chart()->series().contains(f.w->Series1)) << "one curve draws itself";

    // On the logarithmic axis too.
    f.w->LogarithmicAxis->setChecked(true);
    ASSERT_TRUE(f.standardLine());
    EXPECT_EQ(f.standardLine()->points().front().y(), 5);
    EXPECT_GE(f.leftAxis()->property("max").toDouble(), 5);

    StoreMapOptions(MapOptions{});
    f.w->FormActivate();
    EXPECT_EQ(f.standardLine(), nullptr);
}

TEST(ChartCurvesWindow, TheSingleCurvesValuesAreCopiedAsBeforeAndSavedAsCsv)
{
    CurvesFixture f;
    MapOptions options;
    options.standard = 0.005;
    StoreMapOptions(options);
    f.w->LogarithmicAxis->setChecked(true);
    f.node("40", "0");
    QString expected = QString::fromUtf8("Tempo (dias)\tConcentração (mg/L)\r\n");
    for (const QPointF& p : f.w->Series1->points())
        expected += QString::fromStdString(FormatGeneral(p.x(), '.') + "\t" + FormatGeneral(p.y(), '.')) + "\r\n";
    f.w->CopyButton->click();
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    f.w->AddCurveButton->click();
    f.node("60", "0");
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "valores")};
    f.w->SaveValuesButton->click();
    const std::vector<std::string> lines = CrLfLines(ReadBytes(f.folder.path() + "valores.csv"));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0],
              "Tempo (dias),\"Concentra\xe7\xe3o (mg/L): X = 40 m, Y = 0 m\",\"Concentra\xe7\xe3o (mg/L): X = 60 m, Y = 0 m\"");
    const QList<QPointF> last = f.w->Series1->points();
    EXPECT_EQ(lines[5],
              "10000," + FormatGeneral(f.drawn()[0]->points().back().y(), '.') + "," + FormatGeneral(last.back().y(), '.'));

    // Cancelled, nothing is written; a folder that is a file is refused.
    f.w->SaveValuesButton->click();
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "valores.csv/dentro.csv")};
    f.w->SaveValuesButton->click();
    EXPECT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_EQ(CrLfLines(ReadBytes(f.folder.path() + "valores.csv")), lines);
}
