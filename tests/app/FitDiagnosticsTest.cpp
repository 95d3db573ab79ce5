#include "ChartLabels.h"
#include "FitFixture.h"
#include "frame/LanguageLoader.h"
#include "observations/ResidualChart.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QScatterSeries>
#include <QSpinBox>
#include <QValueAxis>
#include <QXYSeries>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::FitFixture;

namespace {

QXYSeries* residualPoints(FitPanel* panel)
{
    for (QAbstractSeries* s : panel->Residuals->ChartResiduals->chart()->series())
        if (s->objectName() == "ResidualPoints") return static_cast<QXYSeries*>(s);
    return nullptr;
}

QString bottomTitle(FitPanel* panel)
{
    for (QAbstractAxis* axis : panel->Residuals->ChartResiduals->chart()->axes())
        if (axis->orientation() == Qt::Horizontal) return axis->titleText();
    return {};
}

void showFitTab(FitFixture& f)
{
    f.app.windows.observacao->Tabs->setCurrentWidget(f.panel);
    f.app.windows.observacao->show();
    f.app.windows.observacao->resize(1300, 900);
}

// The residuals of three wells at 400, 900 and 1500 days.
void showResiduals(FitFixture& f, const std::vector<double>& residuals)
{
    const std::vector<Observation> wells = {{0.4, 5, 0, 0, 400}, {0.2, 20, 2, 0.5, 900}, {0.05, 60, -3, -1, 1500}};
    FitResult fit;
    fit.calculatedAfter = {0.4, 0.2, 0.05};
    fit.residualsAfter = residuals;
    f.panel->Residuals->showResiduals(wells, fit);
}

}  // namespace

TEST(FitDiagnostics, SeveralStartsAreCountedAndTheResidualsCharted)
{
    FitFixture f;
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    f.panel->CheckBoxes[6]->setChecked(true);  // C0
    EXPECT_EQ(f.panel->SpinBoxStarts->value(), 20);
    f.panel->CheckBoxSeveralStarts->setChecked(true);
    f.panel->SpinBoxStarts->setValue(4);
    f.panel->SpinBoxSeed->setValue(9);
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    ASSERT_TRUE(f.panel->startsResult());
    EXPECT_EQ(f.panel->startsResult()->starts, 4);
    EXPECT_NEAR(f.panel->result()->parameters[0].value, 1, 1e-6);
    const QString diagnostics = f.panel->LabelDiagnostics->text();
    EXPECT_TRUE(diagnostics.startsWith(
        QString::fromUtf8("4 partidas (semente 9): %1 alcançaram o melhor objetivo.").arg(f.panel->startsResult()->reachedBest)))
        << diagnostics.toStdString();
    EXPECT_TRUE(diagnostics.contains(QString::fromUtf8("Número de condição do jacobiano: "))) << diagnostics.toStdString();

    // The residuals against time, then against the distance from the source's centre.
    QXYSeries* points = residualPoints(f.panel);
    ASSERT_EQ(points->count(), 14);
    EXPECT_EQ(points->at(3).x(), 1400.0 + 70 * 3);
    EXPECT_EQ(points->at(3).y(), f.panel->result()->residualsAfter[3]);
    EXPECT_EQ(bottomTitle(f.panel), "Tempo (dias)");
    f.panel->Residuals->ComboBoxAbscissa->setCurrentIndex(1);
    EXPECT_DOUBLE_EQ(residualPoints(f.panel)->at(3).x(), std::hypot(3.0 + 3.5 * 3, -5.0 + 3 * 2, 0.0));
    EXPECT_EQ(bottomTitle(f.panel), QString::fromUtf8("Distância da fonte (m)"));
    f.panel->Residuals->ComboBoxAbscissa->setCurrentIndex(2);
    EXPECT_EQ(residualPoints(f.panel)->at(3).x(), f.panel->result()->calculatedAfter[3]);

    LoadLanguage(f.app, Language::English);
    QApplication::processEvents();
    EXPECT_TRUE(f.panel->LabelDiagnostics->text().startsWith("4 starts (seed 9): "))
        << f.panel->LabelDiagnostics->text().toStdString();
    EXPECT_EQ(bottomTitle(f.panel), "Calculated concentration (mg/L)");
    EXPECT_EQ(f.panel->CheckBoxSeveralStarts->text(), "Several starts:");

    // A new table forgets them.
    f.panel->clearResult();
    EXPECT_EQ(residualPoints(f.panel)->count(), 0);
    EXPECT_EQ(f.panel->LabelDiagnostics->text(), "");
    EXPECT_FALSE(f.panel->startsResult());
}

TEST(FitDiagnostics, TheProfileIntervalOfAChosenParameter)
{
    FitFixture f;
    EXPECT_EQ(f.panel->ComboBoxProfile->count(), 1);  // "none" alone
    f.panel->CheckBoxes[0]->setChecked(true);         // AlphaX
    f.panel->CheckBoxes[6]->setChecked(true);         // C0
    ASSERT_EQ(f.panel->ComboBoxProfile->count(), 3);
    EXPECT_EQ(f.panel->ComboBoxProfile->itemText(0), "nenhum");
    f.panel->ComboBoxProfile->setCurrentIndex(1);
    EXPECT_EQ(f.panel->ComboBoxProfile->currentText(), f.app.windows.dados->fieldCaption(14));
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    ASSERT_TRUE(f.panel->profileResult());
    const ProfileInterval& profile = *f.panel->profileResult();
    EXPECT_EQ(profile.parameter, FitParameter::AlphaX);
    EXPECT_LE(profile.lower, f.panel->result()->parameters[0].value);
    EXPECT_GE(profile.upper, f.panel->result()->parameters[0].value);
    EXPECT_TRUE(f.panel->LabelDiagnostics->text().contains(
        QString::fromUtf8("Intervalo de 95 % do perfil de verossimilhança de %1: ").arg(f.app.windows.dados->fieldCaption(14))))
        << f.panel->LabelDiagnostics->text().toStdString();
    // Unchecking the parameter takes it off the choices.
    f.panel->CheckBoxes[0]->setChecked(false);
    EXPECT_EQ(f.panel->ComboBoxProfile->count(), 2);
    EXPECT_EQ(f.panel->ComboBoxProfile->currentIndex(), 0);
}

TEST(FitDiagnostics, ResidualsOfRoundingAloneReadAsZeroOnASymmetricAxis)
{
    FitFixture f;
    showFitTab(f);
    showResiduals(f, {4.440892098500626e-16, -2.220446049250313e-16, 0});
    const QStringList shown = kavrin::test::ShownChartTexts(f.panel->Residuals->ChartResiduals);
    for (const char* label : {"4e-10", "2e-10", "0", "-2e-10", "-4e-10"})
        EXPECT_TRUE(shown.contains(label)) << label << " in " << shown.join(" | ").toStdString();
    EXPECT_FALSE(shown.join(" ").contains("e-16")) << shown.join(" | ").toStdString();

    // Residuals of a real misfit keep their own scale, symmetric about zero.
    showResiduals(f, {0.03, -0.011, 0.002});
    const QStringList misfit = kavrin::test::ShownChartTexts(f.panel->Residuals->ChartResiduals);
    for (const char* label : {"0.03", "0.02", "0.01", "0", "-0.01", "-0.02", "-0.03"})
        EXPECT_TRUE(misfit.contains(label)) << label << " in " << misfit.join(" | ").toStdString();
}

TEST(FitDiagnostics, EveryResidualPointIsDrawnWholeOnASymmetricAxis)
{
    FitFixture f;
    showFitTab(f);
    // The largest residual, the first time and the calculated values' ends on
    // round ticks: on the axes' ends unless the range leaves room beyond them.
    showResiduals(f, {0.03, -0.011, 0.002});
    QChart* chart = f.panel->Residuals->ChartResiduals->chart();
    for (int abscissa = 0; abscissa < 3; ++abscissa) {
        f.panel->Residuals->ComboBoxAbscissa->setCurrentIndex(abscissa);
        QApplication::processEvents();
        QXYSeries* points = residualPoints(f.panel);
        const double half = static_cast<QScatterSeries*>(points)->markerSize() / 2;
        for (int i = 0; i < points->count(); ++i) {
            const QPointF at = chart->mapToPosition(points->at(i), points);
            EXPECT_TRUE(chart->plotArea().contains(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half)))
                << "point " << i << " against abscissa " << abscissa;
        }
        for (QAbstractAxis* axis : chart->axes(Qt::Vertical)) {
            const auto* value = static_cast<QValueAxis*>(axis);
            // The range's end lies a millionth of a step beyond the last tick, so that tick is drawn.
            EXPECT_NEAR(value->min(), -value->max(), 1e-6 * (value->max() - value->min())) << "symmetric about zero";
        }
    }
}
