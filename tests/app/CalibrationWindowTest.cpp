#include "GuiFixture.h"
#include "calibration/Comparison.h"
#include "observations/TObservacao.h"
#include "project/TFormDados.h"
#include "text/NumberText.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QXYSeries>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;
using kavrin::test::ReadBytes;
using kavrin::test::WriteBytes;

namespace {

// Four wells down the plume of the initial model, at their own depths and times.
const char* const kWells = "0.41 5 0 0 400\r\n0.2 20 2 0.5 900\r\n0.05 60 -3 -1 1500\r\n0.3 10 0 1 2500\r\n";

struct CalibrationFixture : GuiFixture {
    TObservacao* window = nullptr;

    CalibrationFixture()
    {
        start();
        window = app.windows.observacao;
    }
    void click(const char* name) { window->findChild<QPushButton*>(name)->click(); }
    void importText(const char* bytes)
    {
        WriteBytes(folder.path() + "wells.txt", bytes);
        dialogs.files.push_back(QString::fromStdString(folder.path() + "wells.txt"));
        click("BitBtn5");
    }
    QXYSeries* series(const char* name) const
    {
        for (QAbstractSeries* s : window->Chart1->chart()->series())
            if (s->objectName() == name) return static_cast<QXYSeries*>(s);
        return nullptr;
    }
    QString cellText(int row, int column) const
    {
        const QTableWidgetItem* item = window->StringGrid1->item(row, column);
        return item ? item->text() : QString();
    }
    // The numbers the core gives for the table and the data window as they stand.
    Comparison expected() const
    {
        ModelState model;
        QuadratureState quadrature;
        return CompareObservations(window->table().observations(), app.windows.dados->texts(), kavrin::test::ValoresPath(), '.',
                                   model, quadrature, 1);
    }
};

}  // namespace

TEST(CalibrationWindow, ImportShowsTheRowsAndCalcularDrawsTheComparison)
{
    CalibrationFixture f;
    f.importText(kWells);
    EXPECT_EQ(f.window->Edit1->text(), "4");
    ASSERT_EQ(f.window->StringGrid1->rowCount(), 4);
    EXPECT_EQ(f.cellText(2, 0), "3");
    EXPECT_EQ(f.cellText(2, 3), "-3");
    EXPECT_EQ(f.window->table().ObservationCount(), 4);

    f.click("BitBtn6");
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    const Comparison expected = f.expected();
    const ComparisonStatistics& s = expected.statistics;
    EXPECT_EQ(f.window->Label3->text().toStdString(), FormatFixed(s.R2, 4, '.'));
    EXPECT_EQ(f.window->Label7->text().toStdString(), FormatFixed(s.MAE, 4, '.'));
    EXPECT_EQ(f.series("Series1")->points(), (QList<QPointF>{{s.lo, s.lo}, {s.hi, s.hi}}));
    EXPECT_EQ(f.series("Series2")->points(),
              (QList<QPointF>{{s.lo, s.intercept + s.slope * s.lo}, {s.hi, s.intercept + s.slope * s.hi}}));
    ASSERT_EQ(f.series("Series3")->count(), 4);
    EXPECT_EQ(f.series("Series3")->at(3), QPointF(0.3, expected.calculated[3]));
    EXPECT_EQ(f.window->Chart1->chart()->series().first()->objectName(), "Series2");

    // Pressing again without changes gives the same labels and points.
    const QString r2 = f.window->Label3->text();
    const QList<QPointF> points = f.series("Series3")->points();
    f.click("BitBtn6");
    EXPECT_EQ(f.window->Label3->text(), r2);
    EXPECT_EQ(f.series("Series3")->points(), points);
}

TEST(CalibrationWindow, CalcularTakesAChangedDataWindowFieldWithoutARun)
{
    CalibrationFixture f;
    f.importText(kWells);
    f.click("BitBtn6");
    const QList<QPointF> before = f.series("Series3")->points();
    f.app.windows.dados->Edit[1]->setText("1");  // C0 from 0.5 to 1
    f.click("BitBtn6");
    const QList<QPointF> after = f.series("Series3")->points();
    ASSERT_EQ(after.size(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(after[i].y(), 2 * before[i].y());
    EXPECT_EQ(f.app.model.C0, 1);
    EXPECT_FALSE(f.app.project.ResultsExist);
}

TEST(CalibrationWindow, FailuresKeepThePreviousResults)
{
    struct Case {
        const char* table;
        bool notice;
        QString failure;
    };
    // A message about a cell says on a second line where the cell is.
    const Case cases[] = {
        {"0.41 5 0 0 400\r\n0.2 20  0.5 900\r\n", true, {}},
        {"0.41 5 0 0 400\r\n0.2 20 2 0.5 9OO\r\n", false, "'9OO' is not a valid floating point value\nLinha 2, coluna T (dias)"},
        {"0.41 5 0 0 400\r\n0.2 2O 2 0.5 900\r\n", false, "'2O' is not a valid floating point value\nLinha 2, coluna X (m)"},
        {"0.4 5 0 0 400\r\n0.4 20 2 0.5 900\r\n", false, "Invalid floating point operation"},
        {"0.4 500 0 0 400\r\n0.3 600 2 0.5 900\r\n", false, "Invalid floating point operation"},
        {"", false, "Invalid floating point operation"},
    };
    for (const Case& c : cases) {
        CalibrationFixture f;
        f.importText(kWells);
        f.click("BitBtn6");
        const QString r2 = f.window->Label3->text();
        f.importText(c.table);
        f.click("BitBtn6");
        if (c.notice) {
            EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgObservationsIncomplete + "\nLinha 2, coluna Y (m)"})
                << f.dialogs.notices.join("|").toStdString();
            EXPECT_FALSE(f.app.messages.MsgObservationsIncomplete.isEmpty());
            EXPECT_TRUE(f.dialogs.errors.isEmpty());
        } else {
            EXPECT_EQ(f.dialogs.errors, QStringList{c.failure}) << c.table;
        }
        EXPECT_EQ(f.window->Label3->text(), r2);
        EXPECT_EQ(f.series("Series3")->count(), 4);
    }
}

TEST(CalibrationWindow, CountBoxEditedCellsCancelAndSave)
{
    CalibrationFixture f;
    f.window->Edit1->setText("2");
    EXPECT_EQ(f.window->StringGrid1->rowCount(), 2);
    f.window->StringGrid1->item(1, 1)->setText("7,5");
    EXPECT_EQ(f.window->table().cell(1, 2), "7,5");
    f.window->Edit1->setText("2x");
    EXPECT_EQ(f.dialogs.errors, QStringList{"''2x'' is not a valid integer value"});
    EXPECT_EQ(f.window->StringGrid1->rowCount(), 2);

    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "table.txt"));
    f.click("BitBtn1");
    EXPECT_EQ(ReadBytes(f.folder.path() + "table.txt"), "    \r\n7,5    \r\n");

    f.importText(kWells);
    f.click("BitBtn2");
    EXPECT_EQ(f.window->StringGrid1->rowCount(), 1);
    EXPECT_EQ(f.cellText(0, 0), "");
    EXPECT_EQ(f.window->Edit1->text(), "4");
    EXPECT_TRUE(f.window->parentWidget()->isMinimized());
    f.window->Edit1->setText("3");
    EXPECT_EQ(f.cellText(1, 4), "0.5");  // hidden rows come back as they were
}

TEST(CalibrationWindow, ThePictureIsABitmapUnderTheJpegName)
{
    CalibrationFixture f;
    f.importText(kWells);
    f.click("BitBtn6");
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "fig"));
    f.click("BitBtn3");
    const std::string bytes = ReadBytes(f.folder.path() + "fig.jpeg");
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(bytes[28])), 24);  // bits per pixel

    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "no/such/fig"));
    f.click("BitBtn3");
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].contains("fig.jpeg")) << f.dialogs.errors[0].toStdString();
}

// Right after start no order is in effect: "Calcular" with an order the table
// does not hold would show every calculated value as 0, so it is refused;
// once a comparison has put an order in effect, that order goes on.
TEST(CalibrationWindow, CalcularRefusesAnOrderOutsideTheTableWhileNoOrderIsInEffect)
{
    CalibrationFixture f;
    f.importText(kWells);
    f.app.windows.dados->ComboBox1->setEditText("64");
    f.click("BitBtn6");
    ASSERT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_TRUE(f.dialogs.notices[0].startsWith(QString::fromUtf8("A ordem 64 não está na tabela de Gauss-Legendre")));
    EXPECT_EQ(f.series("Series3")->count(), 0);

    f.app.windows.dados->ComboBox1->setEditText("20");
    f.click("BitBtn6");
    const QList<QPointF> twenty = f.series("Series3")->points();
    ASSERT_EQ(twenty.size(), 4);
    f.app.windows.dados->ComboBox1->setEditText("64");
    f.click("BitBtn6");
    EXPECT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_EQ(f.series("Series3")->points(), twenty);
}
