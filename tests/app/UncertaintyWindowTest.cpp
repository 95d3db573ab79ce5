// The uncertainty window: a small run shows the core's probabilities as a map
// and a receptor's bands, refusals in the window's language, Cancel, and its
// size on a small screen.
#include "uncertainty/UncertaintyWindow.h"
#include "RunFixture.h"
#include "frame/LanguageLoader.h"
#include "gui/ChartPicture.h"
#include "model/Variaveis.h"
#include "uncertainty/UncertaintyRun.h"

#include <QAction>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

// A project run on the small grid, its uncertainty window open.
struct UncertaintyFixture : RunFixture {
    UncertaintyWindow* w = nullptr;

    UncertaintyFixture()
    {
        main->showNormal();
        main->setGeometry(QRect(0, 0, 1366, 768));
        runAs("Incerteza");
        main->action("ShowUncertainty")->trigger();
        QApplication::processEvents();
        w = app.windows.uncertainty;
    }
    // C0 drawn from a normal distribution, the standard, a few realizations.
    void typeSmallCase(const char* sd, const char* realizations)
    {
        const int row = w->parameterRow("C0");
        w->distributionBox(row)->setCurrentIndex(static_cast<int>(ParameterChoice::Normal));
        w->ParametersTable->item(row, 3)->setText("1");
        w->ParametersTable->item(row, 4)->setText(sd);
        w->StandardEdit->setText("0.5");
        w->ThresholdsEdit->setText("0.1");
        w->RealizationsEdit->setText(realizations);
        w->SeedEdit->setText("3");
        w->AddReceptorButton->click();
        for (int column = 0; column < 3; ++column) w->ReceptorsTable->item(0, column)->setText(column == 0 ? "50" : "0");
    }
    // The small case with a normal C0 of sd 0.3, 20 realizations, run to its end.
    void runSmallCase()
    {
        typeSmallCase("0.3", "20");
        w->RunButton->click();
        w->waitForRun();
    }
    ModelState resultsModel() const
    {
        ModelState model = app.model;
        Variaveis(app.resultsTexts, model, app.separator);
        return model;
    }
    QLineSeries* series(const char* name) const
    {
        for (QAbstractSeries* s : w->BandChart->chart()->series())
            if (s->objectName() == name) return static_cast<QLineSeries*>(s);
        return nullptr;
    }
};

}  // namespace

TEST(UncertaintyWindow, ASmallRunShowsTheCoresProbabilityMapAndReceptorBands)
{
    UncertaintyFixture f;
    UncertaintyWindow* w = f.w;
    ASSERT_TRUE(w->isVisible());
    ASSERT_GE(w->parameterRow("C0"), 0);
    EXPECT_EQ(w->distributionBox(w->parameterRow("C0"))->count(), 5) << "no fit: nothing to draw from it";
    f.typeSmallCase("0.3", "40");
    w->RunButton->click();
    w->waitForRun();
    ASSERT_TRUE(w->results()) << (f.dialogs.errors.isEmpty() ? "" : f.dialogs.errors.last().toStdString());
    ASSERT_TRUE(w->shownGrid());
    EXPECT_EQ(w->Tabs->currentIndex(), 1) << "the map shows at the end of the run";

    const UncertaintySettings& settings = *w->resultSettings();
    ASSERT_EQ(settings.varied.size(), 1u);
    EXPECT_EQ(settings.varied[0], (VariedParameter{"C0", {DistributionKind::Normal, 1, 0.3, 0}}));
    EXPECT_EQ(settings.realizations, 40u);
    EXPECT_EQ(settings.seed, 3u);
    ASSERT_EQ(settings.thresholds.size(), 2u);
    EXPECT_EQ(settings.thresholds[0].value, 0.5);
    ASSERT_EQ(settings.times.size(), 1u);
    EXPECT_EQ(settings.times[0].value, 2500);
    EXPECT_EQ(settings.receptors, (std::vector<Receptor>{{50, 0, 0}}));

    // The core's own run of those settings, on one thread.
    const std::optional<UncertaintyResults> expected =
        RunUncertainty(f.resultsModel(), f.app.quadrature, settings, 1, {}, nullptr);
    ASSERT_TRUE(expected);
    EXPECT_EQ(w->MapChoice->currentIndex(), 0) << "the standard's probability first";
    const std::vector<double>& p = expected->times[0].exceedance[0];
    int between = 0;
    for (int row = 0; row < expected->rows; ++row)
        for (int column = 0; column < expected->columns; ++column) {
            const double core = p[static_cast<std::size_t>(row * expected->columns + column)];
            EXPECT_EQ(w->shownGrid()->at(column + 1, row + 1), core) << row << " " << column;
            between += core > 0 && core < 1;
        }
    EXPECT_GT(between, 0) << "a case with nodes of uncertain exceedance";
    EXPECT_EQ(w->mapPicture().size(), QSize(800, 640));
    EXPECT_FALSE(w->MapLabel->pixmap().isNull());
    EXPECT_TRUE(w->SaveMapButton->isEnabled());

    // Its values copied, every node; its picture saved as the map window saves its own.
    w->CopyMapButton->click();
    const QStringList lines = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + expected->rows * expected->columns);
    EXPECT_EQ(lines[0], QString::fromUtf8("X (m)\tY (m)\tProbabilidade de C > 0.5 mg/L"));
    EXPECT_EQ(lines[1].split('\t')[0], "0") << "X0";
    EXPECT_EQ(lines[1].split('\t')[1], "-30") << "Y0";
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "probability"));
    w->SaveMapButton->click();
    EXPECT_EQ(kavrin::test::ReadBytes(f.folder.path() + "probability.jpeg").substr(0, 2), "BM");

    // Another map: the 95th percentile, on the concentration scale.
    w->MapChoice->setCurrentIndex(static_cast<int>(settings.thresholds.size()) + 4);
    EXPECT_EQ(w->shownGrid()->at(6, 4), expected->times[0].p95[3 * static_cast<std::size_t>(expected->columns) + 5]);

    // The receptor's median at the one time, and the standard as a line.
    ASSERT_EQ(f.series("P50Series")->count(), 1);
    EXPECT_EQ(f.series("P50Series")->at(0).y(), ExactPercentile(expected->receptorValues[0][0], 0.5));
    EXPECT_EQ(f.series("StandardSeries")->at(0).y(), 0.5);
    w->CopyChartButton->click();
    const QStringList columns = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(columns.size(), 2);
    EXPECT_EQ(columns[1].split('\t')[0], "2500");
    EXPECT_EQ(columns[1].split('\t').size(), 5);
}

// The map's and the bands' pictures as the map and the charts save theirs:
// the bitmap under ".jpeg" first, then PNG, SVG and PDF.
TEST(UncertaintyWindow, ThePicturesAreSavedInTheFormatTheDialogsFilterChose)
{
    UncertaintyFixture f;
    UncertaintyWindow* w = f.w;
    f.runSmallCase();
    ASSERT_TRUE(w->results());
    const QStringList filters{f.app.text(AddedText::PictureFilterBitmap), f.app.text(AddedText::PictureFilterPng),
                              f.app.text(AddedText::PictureFilterSvg), f.app.text(AddedText::PictureFilterPdf)};
    // Answers the dialog with `chosen` under the filter `filter`; the bytes written at `written`.
    const auto save = [&](QPushButton* button, const char* chosen, int filter, const char* written) {
        f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + chosen));
        f.dialogs.chosenFilters.push_back(filter);
        button->click();
        EXPECT_EQ(f.dialogs.offeredFilters.value(f.dialogs.offeredFilters.size() - 1), filters.join(";;")) << chosen;
        return kavrin::test::ReadBytes(f.folder.path() + written);
    };
    const auto pixels = [&](const char* name) {
        return QImage(QString::fromStdString(f.folder.path() + name)).convertToFormat(QImage::Format_RGB888);
    };
    EXPECT_EQ(save(w->SaveMapButton, "map", 0, "map.jpeg").substr(0, 2), "BM") << "the bitmap under \".jpeg\", as before";
    EXPECT_EQ(pixels("map.jpeg"), w->mapPicture().convertToFormat(QImage::Format_RGB888));
    save(w->SaveMapButton, "map", 1, "map.png");
    EXPECT_EQ(pixels("map.png"), w->mapPicture().convertToFormat(QImage::Format_RGB888));
    EXPECT_NE(save(w->SaveMapButton, "map", 2, "map.svg").find("<svg"), std::string::npos);
    EXPECT_EQ(save(w->SaveMapButton, "map.pdf", 3, "map.pdf").substr(0, 5), "%PDF-");

    w->Tabs->setCurrentIndex(2);
    QApplication::processEvents();
    save(w->SaveChartButton, "bands.png", 1, "bands.png");
    EXPECT_EQ(pixels("bands.png"), RenderChart(w->BandChart).convertToFormat(QImage::Format_RGB888));
    EXPECT_EQ(save(w->SaveChartButton, "bands", 3, "bands.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(save(w->SaveChartButton, "bands", 0, "bands.jpeg").substr(0, 2), "BM");
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
}

TEST(UncertaintyWindow, RefusesBeforeRunningInTheWindowsLanguage)
{
    UncertaintyFixture f;
    UncertaintyWindow* w = f.w;
    struct Case {
        Language language;
        const char* sd;
        const char* realizations;
        const char* message;
    };
    const Case cases[] = {
        {Language::Portuguese, "0", "40",
         "C0: o desvio padrão e a mediana devem ser maiores que zero, o desvio padrão geométrico maior que 1."},
        {Language::English, "0", "40",
         "C0: the standard deviation and the median must be greater than zero, the geometric standard deviation greater than "
         "1."},
        {Language::Portuguese, "0.3", "1", "O número de realizações deve ser pelo menos 2, não 1."},
        {Language::English, "0.3", "many", "Realizations: \"many\" is not a number."},
    };
    for (const Case& c : cases) {
        LoadLanguage(f.app, c.language);
        w->ReceptorsTable->setRowCount(0);
        f.typeSmallCase(c.sd, c.realizations);
        f.dialogs.errors.clear();
        w->RunButton->click();
        EXPECT_FALSE(w->running()) << c.message;
        ASSERT_EQ(f.dialogs.errors.size(), 1) << c.message;
        EXPECT_EQ(f.dialogs.errors[0], QString::fromUtf8(c.message));
        EXPECT_FALSE(w->results());
    }
    EXPECT_EQ(w->windowTitle(), "Uncertainty");
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(w->windowTitle(), "Incerteza");
    EXPECT_EQ(f.main->action("ShowUncertainty")->text(), "Incerteza");
}

TEST(UncertaintyWindow, CancelLeavesNothingHalfShown)
{
    UncertaintyFixture f;
    UncertaintyWindow* w = f.w;
    f.runSmallCase();
    ASSERT_TRUE(w->results());
    // A long run, cancelled as it starts: the earlier results went when it started, and nothing of it shows.
    w->RealizationsEdit->setText("1000000");
    w->RunButton->click();
    EXPECT_TRUE(w->running());
    EXPECT_FALSE(w->RunButton->isEnabled());
    EXPECT_TRUE(w->CancelButton->isEnabled());
    w->CancelButton->click();
    w->waitForRun();
    EXPECT_FALSE(w->running());
    EXPECT_FALSE(w->results());
    EXPECT_FALSE(w->shownGrid());
    EXPECT_TRUE(w->mapPicture().isNull());
    EXPECT_TRUE(w->MapLabel->pixmap().isNull());
    EXPECT_EQ(w->MapChoice->count(), 0);
    EXPECT_EQ(w->ReceptorChoice->count(), 0);
    EXPECT_EQ(f.series("P50Series")->count(), 0);
    for (QPushButton* button : {w->SaveMapButton, w->CopyMapButton, w->SaveChartButton, w->CopyChartButton})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_TRUE(w->RunButton->isEnabled());
    EXPECT_FALSE(w->CancelButton->isEnabled());
    EXPECT_EQ(w->StatusLabel->text(), QString::fromUtf8("Cálculo cancelado: nenhum resultado."));
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(UncertaintyWindow, FitsASmallScreenInEitherLanguage)
{
    UncertaintyFixture f;
    auto* child = qobject_cast<QMdiSubWindow*>(f.w->parentWidget());
    ASSERT_TRUE(child);
    EXPECT_EQ(f.main->mdiArea()->activeSubWindow(), child);
    const QRect visible = f.main->mdiArea()->viewport()->rect();
    for (Language language : {Language::English, Language::Portuguese}) {
        LoadLanguage(f.app, language);
        QApplication::processEvents();
        const QSize least = child->minimumSizeHint().expandedTo(child->minimumSize());
        EXPECT_LE(least.width(), visible.width()) << static_cast<int>(language);
        EXPECT_LE(least.height(), visible.height()) << static_cast<int>(language);
        EXPECT_TRUE(visible.contains(child->geometry())) << static_cast<int>(language);
        // Every heading of the parameter table reads in full.
        for (int column = 0; column < f.w->ParametersTable->columnCount(); ++column)
            EXPECT_GE(f.w->ParametersTable->columnWidth(column),
                      f.w->ParametersTable->horizontalHeader()->sectionSizeHint(column))
                << column;
    }
}

TEST(UncertaintyWindow, ComingBackAfterANewRunOffersItsTimesAndKeepsTheChoices)
{
    UncertaintyFixture f;
    UncertaintyWindow* w = f.w;
    ASSERT_EQ(w->TimesList->count(), 1);
    EXPECT_EQ(w->TimesList->item(0)->text(), "2500");
    const int row = w->parameterRow("AlphaY");
    w->distributionBox(row)->setCurrentIndex(static_cast<int>(ParameterChoice::Uniform));
    w->ParametersTable->item(row, 3)->setText("0.1");
    f.type(13, "1250");
    f.runAs("Outro");
    QMdiArea* area = f.main->mdiArea();
    area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(f.app.windows.dados->parentWidget()));
    area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    QApplication::processEvents();
    ASSERT_EQ(w->TimesList->count(), 2) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(w->TimesList->item(0)->text(), "1250");
    EXPECT_FALSE(w->TimesList->item(0)->isSelected());
    EXPECT_TRUE(w->TimesList->item(1)->isSelected()) << "2500 stays chosen";
    EXPECT_EQ(w->distributionBox(w->parameterRow("AlphaY"))->currentIndex(), static_cast<int>(ParameterChoice::Uniform));
    EXPECT_EQ(w->ParametersTable->item(w->parameterRow("AlphaY"), 3)->text(), "0.1");
}
