// The charts window's mass balance: offered once there are results, drawn from
// the model the results were computed from at the run's listed times.
#include "RunFixture.h"
#include "frame/LanguageLoader.h"
#include "gui/ChartDetailLine.h"
#include "model/Variaveis.h"
#include "solution/MassBalance.h"
#include "source/SourceWindow.h"
#include "views/TFormGrafico.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;
using kavrin::test::RunFixture;

namespace {

QLineSeries* seriesNamed(QChartView* view, const char* name)
{
    for (QAbstractSeries* s : view->chart()->series())
        if (s->objectName() == name) return qobject_cast<QLineSeries*>(s);
    return nullptr;
}

void drawBalance(TFormGrafico* w, const QString& kind)
{
    w->ComboBox2->setCurrentText(kind);
    emit w->ComboBox2->textActivated(kind);
    w->BitBtn1->click();
}

}  // namespace

TEST(MassBalanceChart, OfferedOnceThereAreResults)
{
    RunFixture f;
    TFormGrafico* w = f.app.windows.grafico;
    w->FormActivate();
    EXPECT_EQ(w->ComboBox2->count(), 3) << "no results, nothing to balance";
    f.runAs("Balanco");
    w->FormActivate();
    ASSERT_EQ(w->ComboBox2->count(), 4);
    EXPECT_EQ(w->ComboBox2->itemText(3), QString::fromUtf8("Balanço de massa"));
    // A new language rebuilds the list; the balance comes back once, in the new language.
    LoadLanguage(f.app, Language::English);
    QApplication::processEvents();
    ASSERT_EQ(w->ComboBox2->count(), 4);
    EXPECT_EQ(w->ComboBox2->itemText(3), "Mass balance");
    w->FormActivate();
    EXPECT_EQ(w->ComboBox2->count(), 4);
}

TEST(MassBalanceChart, DrawsTheBalanceOfTheRunsModelAtItsTimes)
{
    RunFixture f;
    f.app.windows.source->ControlPlaneEdit->setText("30");
    f.runAs("Balanco");
    f.type(1, "9");  // typed after the run: not the results' model
    TFormGrafico* w = f.app.windows.grafico;
    w->FormActivate();
    drawBalance(w, QString::fromUtf8("Balanço de massa"));
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(w->MassBalanceView->isVisibleTo(w));
    EXPECT_FALSE(w->Chart1->isVisibleTo(w));
    EXPECT_EQ(w->shownChart(), w->MassBalanceView);

    ModelState model;
    Variaveis(f.app.resultsTexts, model, '.');
    const std::vector<MassBalanceRow> rows = ComputeMassBalance(model, {0, 2500});
    QLineSeries* present = seriesNamed(w->MassBalanceView, "PresentSeries");
    QLineSeries* decayed = seriesNamed(w->MassBalanceView, "DecayedSeries");
    QLineSeries* control = seriesNamed(w->MassBalanceView, "ControlDischargeSeries");
    QLineSeries* edge = seriesNamed(w->MassBalanceView, "EdgeDischargeSeries");
    ASSERT_TRUE(present && decayed && control && edge);
    ASSERT_EQ(present->count(), 2);
    for (int i = 0; i < 2; ++i) {
        const MassBalanceRow& row = rows[static_cast<std::size_t>(i)];
        EXPECT_EQ(present->at(i), QPointF(row.time, row.dissolved + row.sorbed));
        EXPECT_EQ(decayed->at(i).y(), row.decayed);
        EXPECT_EQ(control->at(i).y(), row.dischargeControl);
        EXPECT_EQ(edge->at(i).y(), row.dischargeEdge);
    }
    EXPECT_GT(present->at(1).y(), 0);
    EXPECT_EQ(control->name(), QString::fromUtf8("Descarga X = 30 m"));
    EXPECT_EQ(edge->name(), QString::fromUtf8("Descarga X = 100 m (borda)"));
    EXPECT_EQ(ChartDetailLine(w->MassBalanceView->chart()),
              QString::fromUtf8("Pluma inteira (3-D), massa presente = dissolvida + sorvida, de 0 a 2500 dias"));

    // The values as columns under the series' names.
    w->CopyButton->click();
    const QStringList lines = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(f.app.messages.MsgAxisTime + "\t" + present->name())) << lines[0].toStdString();

    // The language follows at once; another kind puts the concentration chart back.
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(w->MassBalanceView->chart()->title(), "Mass balance");
    EXPECT_EQ(seriesNamed(w->MassBalanceView, "DecayedSeries")->name(), "Decayed");
    w->ComboBox2->setCurrentText("Concentration x Time");
    emit w->ComboBox2->textActivated("Concentration x Time");
    w->BitBtn1->click();
    EXPECT_FALSE(w->MassBalanceView->isVisibleTo(w));
    EXPECT_EQ(w->shownChart(), w->Chart1);
}

TEST(MassBalanceChart, WithoutAControlPlaneOnlyTheEdgesDischarge)
{
    RunFixture f;
    f.runAs("Balanco");
    TFormGrafico* w = f.app.windows.grafico;
    w->FormActivate();
    drawBalance(w, QString::fromUtf8("Balanço de massa"));
    EXPECT_EQ(seriesNamed(w->MassBalanceView, "ControlDischargeSeries"), nullptr);
    EXPECT_NE(seriesNamed(w->MassBalanceView, "EdgeDischargeSeries"), nullptr);
    EXPECT_EQ(w->MassBalanceView->chart()->series().size(), 3);
}
