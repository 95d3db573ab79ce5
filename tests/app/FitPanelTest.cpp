#include "FitFixture.h"
#include "GuiFixture.h"
#include "frame/LanguageLoader.h"
#include "model/Variaveis.h"
#include "observations/TObservacao.h"
#include "project/TFormDados.h"
#include "text/NumberText.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QXYSeries>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace kavrin;
using kavrin::test::GuiFixture;
using kavrin::test::WriteBytes;

using kavrin::test::FitFixture;

TEST(FitPanel, FitsOnAWorkerThenAppliesAndUndoes)
{
    FitFixture f;
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    EXPECT_EQ(f.panel->LowerEdits[0]->text(), "0.03");
    EXPECT_EQ(f.panel->UpperEdits[0]->text(), "300");
    f.panel->CheckBoxes[6]->setChecked(true);  // C0
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    const FitResult& result = *f.panel->result();
    EXPECT_EQ(result.stop, FitStop::Converged);
    EXPECT_NEAR(result.parameters[0].value, 1, 1e-6);
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 0), QString::fromUtf8("Coef. de dispersão em X (m)"));
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 1), "3");
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 2), "1");
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 1, 2), "0.5");
    EXPECT_TRUE(f.panel->LabelNotes->text().contains("12 graus de liberdade")) << f.panel->LabelNotes->text().toStdString();
    EXPECT_EQ(f.panel->FitProgressBar->value(), f.panel->FitProgressBar->maximum());
    EXPECT_TRUE(f.panel->FitProgressBar->text().endsWith("iterações; convergiu"))
        << f.panel->FitProgressBar->text().toStdString();
    // The comparison chart shows the fitted concentrations.
    QXYSeries* points = nullptr;
    for (QAbstractSeries* s : f.app.windows.observacao->Chart1->chart()->series())
        if (s->objectName() == "Series3") points = static_cast<QXYSeries*>(s);
    ASSERT_EQ(points->count(), 14);
    EXPECT_EQ(points->at(5).y(), result.calculatedAfter[5]);
    EXPECT_EQ(f.app.windows.observacao->Label3->text(), "1.0000");

    f.click("ApplyFitButton");
    // The texts read back as the fitted doubles exactly.
    EXPECT_EQ(ParseFloat(f.app.windows.dados->Edit[14]->text().toStdString(), '.'), result.parameters[0].value);
    EXPECT_EQ(ParseFloat(f.app.windows.dados->Edit[1]->text().toStdString(), '.'), result.parameters[1].value);
    EXPECT_EQ(f.app.windows.dados->Edit[14]->cursorPosition(), 0) << "a long value reads from its first digit";
    f.click("UndoApplyButton");
    EXPECT_EQ(f.app.windows.dados->Edit[14]->text(), "3");
    EXPECT_EQ(f.app.windows.dados->Edit[1]->text(), "0.5");
    EXPECT_FALSE(f.panel->findChild<QPushButton*>("UndoApplyButton")->isEnabled());
}

TEST(FitPanel, ParametersThatActTogetherGiveTheMessageAndNoApply)
{
    FitFixture f;
    f.panel->CheckBoxes[3]->setChecked(true);  // Kxx
    f.panel->CheckBoxes[4]->setChecked(true);  // Retardation
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    EXPECT_EQ(
        f.panel->LabelNotes->text(),
        QString::fromUtf8(
            "As observações não determinam os parâmetros ajustados: Kxx (m/dia) e Fator de retardamento têm correlação acima de "
            "0,99. Ajuste menos parâmetros ou acrescente observações que os distingam."));
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 2), "");
    EXPECT_FALSE(f.panel->findChild<QPushButton*>("ApplyFitButton")->isEnabled());
}

TEST(FitPanel, CancelStopsTheFitAndBadInputIsReported)
{
    FitFixture f;
    f.panel->CheckBoxes[0]->setChecked(true);
    // Cancel pressed at once, and pressed once the worker had already finished
    // but its outcome had not reached the window (the window's thread held up,
    // as on a busy machine): the fit ends cancelled either way.
    for (const bool heldUp : {false, true}) {
        f.click("FitButton");
        ASSERT_TRUE(f.panel->running());
        if (heldUp) std::this_thread::sleep_for(std::chrono::seconds(2));
        f.click("CancelFitButton");
        ASSERT_TRUE(f.waitUntil([&] { return !f.panel->running(); })) << "the fit never ended";
        ASSERT_TRUE(f.panel->result());
        EXPECT_EQ(f.panel->result()->stop, FitStop::Cancelled) << "held up " << heldUp;
        EXPECT_EQ(f.app.windows.dados->Edit[14]->text(), "3");
        EXPECT_EQ(f.panel->LabelNotes->text(), QString::fromUtf8("Ajuste cancelado; nada foi alterado."));
        EXPECT_TRUE(f.panel->FitProgressBar->text().endsWith("cancelado")) << f.panel->FitProgressBar->text().toStdString();
        EXPECT_FALSE(f.panel->findChild<QPushButton*>("ApplyFitButton")->isEnabled());
    }

    // The core's refusal in the window's language.
    f.panel->LowerEdits[0]->setText("5");
    f.click("FitButton");
    ASSERT_TRUE(f.waitUntil([&] { return !f.panel->running(); })) << "the fit never ended";
    EXPECT_EQ(f.dialogs.errors,
              QStringList{QString::fromUtf8("O valor atual de Coef. de dispersão em X (m) está fora de seus limites")});
}

TEST(FitPanel, AnOlderLanguageFileKeepsTheBuiltInTexts)
{
    FitFixture f;
    const std::string folder = f.folder.path() + "program/";
    std::filesystem::create_directories(folder);
    const std::string full =
        kavrin::test::ReadBytes((f.app.executableFolder + QString::fromUtf8("idiominglês.txt")).toStdString());
    const std::vector<std::string> lines = kavrin::test::CrLfLines(full);
    std::string older, custom;
    for (std::size_t i = 0; i < 125; ++i) older += lines[i] + "\r\n";
    custom = older + "Own fit title\r\n";
    f.app.executableFolder = QString::fromStdString(folder);
    WriteBytes(folder + "idiominglês.txt", older);
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(f.panel->title(), "Automatic parameter fit");
    EXPECT_EQ(f.panel->findChild<QPushButton*>("FitButton")->text(), "Fit");
    WriteBytes(folder + "idiominglês.txt", custom);
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(f.panel->title(), "Own fit title");
    EXPECT_EQ(f.panel->findChild<QPushButton*>("ApplyFitButton")->text(), "Apply to the data window");
}

TEST(FitPanel, TheWeightColumnCountsAndABadWeightIsRefusedNamingItsRow)
{
    FitFixture f;
    QTableWidget* grid = f.app.windows.observacao->StringGrid1;
    ASSERT_EQ(grid->columnCount(), 7);
    EXPECT_EQ(grid->horizontalHeaderItem(6)->text(), "     Peso");
    // Observation 4 four times too large: ignored when its weight is tiny.
    const double observed4 = grid->item(3, 1)->text().toDouble();
    grid->item(3, 1)->setText(QString::fromStdString(FormatGeneral(4 * observed4, '.')));
    grid->item(3, 6)->setText("1e-20");
    EXPECT_EQ(f.app.windows.observacao->table().weight(4), "1e-20");
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    f.panel->CheckBoxes[6]->setChecked(true);  // C0
    for (int rule : {0, 1}) {                  // from the column, then relative to C²
        f.panel->ComboBoxWeights->setCurrentIndex(rule);
        f.fitAndWait();
        ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
        ASSERT_TRUE(f.panel->result());
        EXPECT_NEAR(f.panel->result()->parameters[0].value, 1, 1e-6) << rule;
        EXPECT_NEAR(f.panel->result()->parameters[1].value, 0.5, 1e-6) << rule;
    }

    const FitResult* before = f.panel->result();
    grid->item(1, 6)->setText("zero");
    f.click("FitButton");
    EXPECT_FALSE(f.panel->running());
    EXPECT_EQ(f.dialogs.errors,
              QStringList{QString::fromUtf8("O peso da observação 2 (\"zero\") deve ser um número maior que zero")});
    EXPECT_EQ(f.panel->result(), before);
}

TEST(FitPanel, AWeightThatOutweighsEveryOtherIsRefusedInTheWindowsLanguage)
{
    FitFixture f;
    QTableWidget* grid = f.app.windows.observacao->StringGrid1;
    grid->item(2, 6)->setText("1e308");
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    f.click("FitButton");
    for (int i = 0; i < 600 && f.panel->running(); ++i) QTest::qWait(50);
    EXPECT_EQ(
        f.dialogs.errors,
        QStringList{QString::fromUtf8(
            "O peso da observação 3 supera o das outras mais de 1e8 vezes: menos de 2 observações ainda contam no ajuste")});
    EXPECT_FALSE(f.panel->result());
}

TEST(FitPanel, AValueOnABoundSaysWhichAndShowsNoErrorOrInterval)
{
    // The wells' AlphaX is 1; held to 1.5 and above, it ends on that bound.
    FitFixture f;
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    f.panel->CheckBoxes[6]->setChecked(true);  // C0
    f.panel->LowerEdits[0]->setText("1.5");
    f.panel->UpperEdits[0]->setText("10");
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 2), "1.5");
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 3), QString::fromUtf8("no limite mínimo"));
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 4), "");
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 5), "");
    EXPECT_NE(f.cell(f.panel->FittedValuesGrid, 1, 4), "");
    // Correlations only among the values the observations fixed: C0 with itself.
    const QString notes = f.panel->LabelNotes->text();
    EXPECT_FALSE(notes.contains(f.app.windows.dados->fieldCaption(14) + ":")) << notes.toStdString();
    EXPECT_TRUE(notes.endsWith(f.app.windows.dados->fieldCaption(1) + ": 1.000")) << notes.toStdString();
    f.click("ApplyFitButton");
    EXPECT_EQ(f.app.windows.dados->Edit[14]->text(), "1.5");
}

TEST(FitPanel, ANewTableOrAFitThatFailsClearsTheOldResults)
{
    FitFixture f;
    QPushButton* apply = f.panel->findChild<QPushButton*>("ApplyFitButton");
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    const auto fitted = [&] {
        f.fitAndWait();
        ASSERT_TRUE(f.panel->result());
        ASSERT_TRUE(apply->isEnabled());
    };
    const auto cleared = [&](const char* after) {
        EXPECT_FALSE(f.panel->result()) << after;
        EXPECT_EQ(f.panel->FittedValuesGrid->rowCount(), 0) << after;
        EXPECT_EQ(f.cell(f.panel->StatisticsGrid, 0, 1), "") << after;
        EXPECT_EQ(f.panel->LabelNotes->text(), "") << after;
        EXPECT_FALSE(apply->isEnabled()) << after;
    };
    fitted();
    f.app.windows.observacao->Edit1->setText("10");
    cleared("a new count");
    f.app.windows.observacao->Edit1->setText("14");

    // A fit that fails on the worker (a weight no other can balance).
    fitted();
    f.app.windows.observacao->StringGrid1->item(2, 6)->setText("1e308");
    f.click("FitButton");
    for (int i = 0; i < 600 && f.panel->running(); ++i) QTest::qWait(50);
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    cleared("a failed fit");
}

TEST(FitPanel, ParametersAreNamedByTheDataWindowsCaptionsInEitherLanguage)
{
    FitFixture f;
    f.app.windows.observacao->showMaximized();
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(f.panel->CheckBoxes[0]->text(), "Dispersivity in X (m)");
    f.panel->CheckBoxes[0]->setChecked(true);
    f.panel->CheckBoxes[6]->setChecked(true);
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 0), "Dispersivity in X (m)");
    EXPECT_TRUE(f.panel->LabelNotes->text().contains("\nDispersivity in X (m):")) << f.panel->LabelNotes->text().toStdString();
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(f.panel->CheckBoxes[0]->text(), QString::fromUtf8("Coef. de dispersão em X (m)"));
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 0, 0), QString::fromUtf8("Coef. de dispersão em X (m)"));
}

TEST(FitPanel, TheCalibrationWindowFitsASmallScreenInEitherLanguageAndKeepsItsLabelsClear)
{
    // 1366 × 768 less the frame's title, menu, tool and status bars.
    const QSize room(1366, 620);
    FitFixture f;
    TObservacao* window = f.app.windows.observacao;
    window->show();
    for (Language language : {Language::English, Language::Portuguese}) {
        LoadLanguage(f.app, language);
        QApplication::processEvents();
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        EXPECT_LE(least.width(), room.width()) << static_cast<int>(language);
        EXPECT_LE(least.height(), room.height()) << static_cast<int>(language);
        // The fit's buttons and the export are one tab away, never below the frame's edge.
        EXPECT_EQ(window->Tabs->count(), 2);
        EXPECT_EQ(window->Tabs->widget(1), f.panel);
        EXPECT_EQ(window->Tabs->tabText(1), f.panel->title());
    }
    window->resize(window->minimumSizeHint());
    f.panel->CheckBoxes[0]->setChecked(true);
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    window->Tabs->setCurrentIndex(0);
    QApplication::processEvents();
    const QRect chart(window->Chart1->mapTo(window, QPoint(0, 0)), window->Chart1->size());
    for (QLabel* label : {window->Label3, window->Label7}) {
        const QRect shown(label->mapTo(window, QPoint(0, 0)), label->size());
        EXPECT_FALSE(chart.intersects(shown)) << label->objectName().toStdString();
    }
    // The panel's labels are never cut.
    window->Tabs->setCurrentIndex(1);
    QApplication::processEvents();
    for (QCheckBox* box : f.panel->CheckBoxes) EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
}

TEST(FitPanel, TheSourcesParametersAreOfferedWhileItsOptionsUseThemAndApplyToItsTexts)
{
    // Wells of a source decaying at 0.001/day with a second zone at 0.8 mg/L.
    FitFixture f({{"SourceHistory", "decay"}, {"SourceDecay", "0.001"}, {"SourceZones", "-16 0 8 3 0.8"}});
    const auto shown = [&f](std::size_t i) { return f.panel->SourceCheckBoxes[i]->isVisibleTo(f.panel); };
    EXPECT_TRUE(shown(0));   // SourceDecay
    EXPECT_FALSE(shown(1));  // ReleaseEnd: the source does not stop
    EXPECT_TRUE(shown(2));   // zone 2
    EXPECT_FALSE(shown(3));  // zone 3 does not exist
    EXPECT_EQ(f.panel->SourceCheckBoxes[0]->text(), QString::fromUtf8("Decaimento da fonte (1/dia)"));
    EXPECT_EQ(f.panel->SourceCheckBoxes[2]->text(), QString::fromUtf8("Concentração da zona 2 (mg/L)"));

    // From a poorer start, as the source window would give it.
    const SourceTexts start{{"SourceHistory", "decay"}, {"SourceDecay", "0.003"}, {"SourceZones", "-16 0 8 3 0.5"}};
    f.app.windows.dados->setSourceTexts(start);
    f.panel->SourceCheckBoxes[0]->setChecked(true);
    EXPECT_EQ(f.panel->SourceLowerEdits[0]->text(), "3E-5");
    EXPECT_EQ(f.panel->SourceUpperEdits[0]->text(), "0.3");
    f.panel->SourceCheckBoxes[2]->setChecked(true);
    f.app.windows.dados->Edit[14]->setText("1");
    f.fitAndWait();
    ASSERT_TRUE(f.panel->result());
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    const FitResult& result = *f.panel->result();
    ASSERT_EQ(result.stop, FitStop::Converged);
    EXPECT_NEAR(result.parameters[0].value, 0.001, 1e-9);
    EXPECT_NEAR(result.parameters[1].value, 0.8, 1e-6);
    EXPECT_EQ(f.cell(f.panel->FittedValuesGrid, 1, 0), QString::fromUtf8("Concentração da zona 2 (mg/L)"));

    f.click("ApplyFitButton");
    const SourceTexts& applied = f.app.texts.source;
    ASSERT_EQ(applied.size(), 3u);
    EXPECT_EQ(ParseFloat(applied[1].value, '.'), result.parameters[0].value);
    EXPECT_EQ(applied[2].value.rfind("-16 0 8 3 ", 0), 0u) << applied[2].value;
    EXPECT_EQ(ParseFloat(applied[2].value.substr(10), '.'), result.parameters[1].value);
    f.click("UndoApplyButton");
    EXPECT_EQ(f.app.texts.source, start);

    // A source that no longer decays takes the rate's row away, unchecked.
    f.app.windows.dados->setSourceTexts({});
    EXPECT_FALSE(shown(0));
    EXPECT_FALSE(shown(2));
    EXPECT_FALSE(f.panel->SourceCheckBoxes[0]->isChecked());
    LoadLanguage(f.app, Language::English);
    f.app.windows.dados->setSourceTexts({{"SourceHistory", "stop"}, {"ReleaseEnd", "1800"}});
    EXPECT_TRUE(shown(1));
    EXPECT_EQ(f.panel->SourceCheckBoxes[1]->text(), "Release end (days)");
}

// Right after start no order is in effect: a fit with an order the table does
// not hold would fit to values that are all 0, so it does not start.
TEST(FitPanel, AnOrderOutsideTheTableIsRefusedWhileNoOrderIsInEffect)
{
    FitFixture f;
    f.panel->CheckBoxes[0]->setChecked(true);  // AlphaX
    f.app.windows.dados->ComboBox1->setEditText("64");
    f.fitAndWait();
    ASSERT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_TRUE(f.dialogs.notices[0].startsWith(QString::fromUtf8("A ordem 64 não está na tabela de Gauss-Legendre")));
    EXPECT_FALSE(f.panel->result());
    EXPECT_EQ(f.app.quadrature.GaussN, 0);
}
