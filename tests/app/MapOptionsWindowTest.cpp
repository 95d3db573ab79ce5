// The map window's options panel, what it stores and draws, and the plain
// map's files, byte for byte as they were before the options existed.
#include "RunFixture.h"
#include "TestSupport.h"
#include "gui/Settings.h"
#include "map/MapOptionShapes.h"
#include "observations/TObservacao.h"
#include "text/NumberText.h"
#include "views/MapOptionsPanel.h"
#include "views/TFormMapa.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

// A run of 51 × 31 points (steps of 2 m) named "Mapa", and the map window.
struct OptionsFixture : RunFixture {
    TFormMapa* map;
    OptionsFixture()
    {
        type(7, "2");
        type(9, "2");
        map = app.windows.mapa;
        runAs("Mapa");
        dialogs.notices.clear();  // the run's own
        main->showWindow(map, true);
    }
    void draw(const QString& time)
    {
        map->ComboBox1->setEditText(time);
        map->BitBtn1->click();
    }
    QColor at(PixelPoint p) const { return map->picture().pixelColor(p.x, p.y); }
    PixelPoint pixelOf(double x, double y) const { return *PlotPixelOf(x, y, app.model, DefineMapGeometry(app.model)); }
    QString number(double v) const { return QString::fromStdString(FormatGeneral(v, app.separator)); }
};

std::string sha256Of(const std::string& path)
{
    return QCryptographicHash::hash(QByteArray::fromStdString(kavrin::test::ReadBytes(path)), QCryptographicHash::Sha256)
        .toHex()
        .toStdString();
}

}  // namespace

// The BMP of the window and the GIF of the batch tool at the default options
// are the files the program wrote before the options existed (their hashes
// taken from the drawing as it was then).
TEST(MapOptionsWindow, DefaultOptionsWriteTheSameBitmapAndAnimation)
{
    OptionsFixture f;
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "Mapa"));
    f.main->action("ToolButton4")->trigger();  // the project file, for the batch tool
    f.draw("2500");
    const std::string bitmap = f.folder.path() + "plain";
    f.dialogs.files.push_back(QString::fromStdString(bitmap));
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(sha256Of(bitmap + ".jpeg"), "0a0c36c37d17d657e859658251f0b13c66a4a95a5862c27eb30907ef673608a1");
    const std::string gif = f.folder.path() + "plain.gif";
    const std::string command = std::string("KAVRIN_DECIMAL_SEPARATOR=. ") + KAVRIN_BIN_DIR + "kavrin-batch animate --project '" +
                                f.folder.path() + "Mapa.kvr' --to '" + gif + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(sha256Of(gif), "507807b5e9442080b5ae90fbfd5ca047616412b3399d0cc8e1760924b479d3ba");
}

TEST(MapOptionsWindow, EachChangeIsStoredAndTheMapRedrawn)
{
    OptionsFixture f;
    MapOptionsPanel* panel = f.map->Options;
    EXPECT_FALSE(panel->isVisible());
    f.map->OptionsButton->click();
    EXPECT_TRUE(panel->isVisible());
    f.draw("2500");
    const QImage plain = f.map->picture();
    // Downstream on the axis the plume falls below the linear scale's floor: the first white pixel.
    PixelPoint far = f.pixelOf(0, 0);
    while (far.x < kPlotRight && f.at(far) != QColor(Qt::white)) ++far.x;
    ASSERT_LT(far.x, kPlotRight - 5);

    EXPECT_FALSE(panel->Decades->isEnabled());
    panel->LogScale->setChecked(true);
    EXPECT_TRUE(StoredMapOptions().logarithmicScale);
    EXPECT_TRUE(panel->Decades->isEnabled());
    EXPECT_NE(f.at(far), QColor(Qt::white)) << "redrawn on the logarithmic scale";
    panel->Decades->setValue(8);
    EXPECT_EQ(StoredMapOptions().decades, 8);

    panel->Standard->setText(f.number(0.01));
    emit panel->Standard->editingFinished();
    EXPECT_EQ(StoredMapOptions().standard, 0.01);
    int black = 0;
    for (int x = 60; x < 590; ++x)
        black += f.map->picture().pixelColor(x, DefineMapGeometry(f.app.model).PlotCentre) == Qt::black;
    EXPECT_GT(black, 0) << "the outline crosses the axis";

    // A standard that is not a positive number is refused and the stored one kept.
    for (const char* typed : {"abc", "-1", "0"}) {
        panel->Standard->setText(typed);
        emit panel->Standard->editingFinished();
        ASSERT_EQ(f.dialogs.notices.size(), 1) << typed << f.dialogs.notices.join("|").toStdString();
        EXPECT_TRUE(f.dialogs.notices.front().contains(typed));
        f.dialogs.notices.clear();
        EXPECT_EQ(StoredMapOptions().standard, 0.01);
        EXPECT_EQ(panel->Standard->text(), f.number(0.01));
    }
    panel->Standard->setText("");
    emit panel->Standard->editingFinished();
    EXPECT_EQ(StoredMapOptions().standard, std::nullopt);

    // The saved pictures' size is stored; the map on screen stays as it is.
    const QImage before = f.map->picture();
    panel->PictureWidth->setValue(1600);
    EXPECT_EQ(StoredMapOptions().width, 1600);
    EXPECT_EQ(f.map->picture(), before);

    panel->LogScale->setChecked(false);
    panel->PictureWidth->setValue(800);
    panel->Decades->setValue(4);
    EXPECT_EQ(StoredMapOptions(), MapOptions{});
    EXPECT_EQ(f.map->picture(), plain) << "the defaults draw the plain map again";

    // Another window's standard shows when the map window becomes active again.
    MapOptions stored;
    stored.standard = 0.02;
    StoreMapOptions(stored);
    f.map->FormActivate();
    EXPECT_EQ(panel->Standard->text(), f.number(0.02));
}

TEST(MapOptionsWindow, TheCalibrationTableIsDrawnAsWellsColouredOnceCompared)
{
    OptionsFixture f;
    TObservacao* calibration = f.app.windows.observacao;
    calibration->Edit1->setText("3");
    // Observed values far above and far below the model at two wells, and one beyond X1.
    const char* rows[3][5] = {
        {"0.4", "20", "0", "0", "2500"}, {"0.000001", "30", "6", "0", "2500"}, {"0.1", "500", "0", "0", "2500"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c)
            calibration->StringGrid1->setItem(
                r, c + 1, new QTableWidgetItem(QString::fromStdString(FormatGeneral(std::stod(rows[r][c]), f.app.separator))));
    f.map->Options->Wells->setChecked(true);
    f.draw("2500");
    const PixelPoint first = f.pixelOf(20, 0), second = f.pixelOf(30, 6);
    EXPECT_EQ(f.at(first), QColor(Qt::white)) << "no comparison yet";
    EXPECT_EQ(f.at({first.x - 3, first.y - 3}), QColor(Qt::black));

    calibration->findChild<QPushButton*>("BitBtn6")->click();  // Calcular
    ASSERT_TRUE(f.dialogs.notices.isEmpty() && f.dialogs.errors.isEmpty())
        << f.dialogs.errors.join("\n").toStdString() << f.dialogs.notices.join("\n").toStdString();
    f.draw("2500");
    EXPECT_EQ(f.at(first), QColor(kResidualPositive.r, kResidualPositive.g, kResidualPositive.b));
    EXPECT_EQ(f.at(second), QColor(Qt::black));
    // An edited table no longer matches the comparison: its wells are plain again.
    calibration->StringGrid1->setItem(0, 1, new QTableWidgetItem("0.3"));
    f.draw("2500");
    EXPECT_EQ(f.at(first), QColor(Qt::white));
}

// The batch tool draws the window's options from the same saved table; a
// table with an empty cell is refused naming its row.
TEST(MapOptionsWindow, TheBatchToolDrawsWhatTheWindowDraws)
{
    OptionsFixture f;
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "Mapa"));
    f.main->action("ToolButton4")->trigger();
    TObservacao* calibration = f.app.windows.observacao;
    calibration->Edit1->setText("2");
    const char* rows[2][5] = {{"0.4", "20", "0", "0", "2500"}, {"0.000001", "30", "6", "0", "2500"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            calibration->StringGrid1->setItem(
                r, c + 1, new QTableWidgetItem(QString::fromStdString(FormatGeneral(std::stod(rows[r][c]), f.app.separator))));
    calibration->findChild<QPushButton*>("BitBtn6")->click();
    const std::string table = f.folder.path() + "obs";
    f.dialogs.files.push_back(QString::fromStdString(table));
    calibration->findChild<QPushButton*>("BitBtn1")->click();  // Salvar: obs.txt
    MapOptionsPanel* panel = f.map->Options;
    panel->LogScale->setChecked(true);
    panel->Decades->setValue(5);
    panel->Standard->setText(f.number(0.01));
    emit panel->Standard->editingFinished();
    panel->Wells->setChecked(true);
    f.draw("2500");

    const auto batch = [&](const std::string& obs, const std::string& to) {
        const std::string command = std::string("KAVRIN_DECIMAL_SEPARATOR=") + f.app.separator + " " + KAVRIN_BIN_DIR +
                                    "kavrin-batch map --project '" + f.folder.path() + "Mapa.kvr' --time 2500 --log-decades 5 " +
                                    "--standard 0.01 --wells '" + obs + "' --to '" + to + "' >/dev/null 2>'" + to + ".err'";
        return std::system(command.c_str());
    };
    const std::string picture = f.folder.path() + "batch.bmp";
    ASSERT_EQ(batch(table + ".txt", picture), 0) << kavrin::test::ReadBytes(picture + ".err");
    EXPECT_EQ(QImage(QString::fromStdString(picture), "BMP").convertToFormat(QImage::Format_RGB888), f.map->picture());

    kavrin::test::WriteBytes(f.folder.path() + "gap.txt", "0.4 20 0 0 2500\r\n0.1 30  0 2500\r\n");
    EXPECT_NE(batch(f.folder.path() + "gap.txt", f.folder.path() + "gap.bmp"), 0);
    const std::string refusal = kavrin::test::ReadBytes(f.folder.path() + "gap.bmp.err");
    EXPECT_NE(refusal.find("row 2"), std::string::npos) << refusal;
    EXPECT_FALSE(std::filesystem::exists(f.folder.path() + "gap.bmp"));
}
