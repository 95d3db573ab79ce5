#include "RunFixture.h"
#include "TestSupport.h"
#include "map/MapColours.h"
#include "map/MapGeometry.h"
#include "text/NumberText.h"
#include "views/TFormMapa.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

// A run of 51 × 31 points (steps of 2 m) named "Mapa", and the map window.
struct MapFixture : RunFixture {
    TFormMapa* map;
    MapFixture()
    {
        type(7, "2");
        type(9, "2");
        map = app.windows.mapa;
    }
    void activate() { main->showWindow(map, true); }  // as the show commands do
    void draw(const QString& time)
    {
        map->ComboBox1->setEditText(time);
        map->BitBtn1->click();
    }
    void moveTo(int x, int y)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), QPointF(x, y), QPointF(x, y), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(map->Mapa, &move);
    }
    QColor at(int x, int y) const { return map->picture().pixelColor(x, y); }
};

QColor colour(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

}  // namespace

TEST(MapWindow, ActivationWithoutResultsRefuses)
{
    MapFixture f;
    f.activate();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.messages.MsgMapNeedsResults});
    EXPECT_FALSE(f.map->BitBtn1->isEnabled());
    EXPECT_FALSE(f.map->ComboBox1->isEnabled());
    EXPECT_FALSE(f.map->GroupBox2->isEnabled());
}

TEST(MapWindow, ActivationListsTheTimesAndAtualizarDrawsTheChosenOne)
{
    MapFixture f;
    f.type(12, "5000");
    f.runAs("Mapa");
    f.dialogs.notices.clear();
    f.activate();
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    ASSERT_EQ(f.map->ComboBox1->count(), 3);
    EXPECT_EQ(f.map->ComboBox1->itemText(1), "2500");
    EXPECT_EQ(f.map->ComboBox1->currentText(), "0");
    EXPECT_TRUE(f.map->BitBtn1->isEnabled());

    f.main->resize(1600, 1000);  // a frame that holds the drawn window whole
    QCoreApplication::processEvents();
    f.draw("0");
    ASSERT_TRUE(f.map->hasPicture());
    EXPECT_EQ(f.map->picture().size(), QSize(800, 640));
    EXPECT_EQ(f.map->parentWidget()->size(), QSize(836, 762));
    EXPECT_EQ(f.at(53, 320), QColor(255, 0, 0)) << "the source bar of time 0";
    EXPECT_EQ(f.at(300, 320), QColor(Qt::white));
    // Texts are drawn black on white around the frame and the scale, never over them.
    EXPECT_EQ(f.at(700, 187), QColor(212, 238, 255));
    EXPECT_EQ(f.at(710, 466), QColor(255, 0, 0));
    EXPECT_EQ(f.at(699, 300), QColor(Qt::black));
    EXPECT_EQ(f.at(50, 300), QColor(Qt::black));

    f.draw("5000");
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    EXPECT_EQ(f.map->MapTimeText, "5000");
    const auto levels = MapLevels(0.5);
    EXPECT_EQ(f.at(52, 320), colour(LevelColour(levels, 60, 0.5))) << "next to the source";
    // Only black, white and the map's colours: the texts have no antialiasing.
    QSet<QRgb> colours;
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 800; ++x) colours.insert(f.map->picture().pixel(x, y));
    QSet<QRgb> allowed{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int k = 0; k < kLevelCount; ++k) allowed.insert(colour(LevelColour(levels, k, 0.5)).rgb());
    for (int n = 1; n <= kScaleCells; ++n) allowed.insert(colour(ScaleCellColour(n, 0.5)).rgb());
    for (QRgb c : colours) EXPECT_TRUE(allowed.contains(c)) << std::hex << c;
}

TEST(MapWindow, ATimeWithoutCompleteResultsIsRefusedAndThePictureKeepsItsTitle)
{
    MapFixture f;
    f.type(12, "5000");
    f.runAs("Mapa");
    test::WriteBytes(f.root() + "Mapa/T5000.txt", "");  // a failed run's empty file
    std::filesystem::remove(f.root() + "Mapa/T0.txt");
    f.activate();
    f.draw("2500");
    const QImage before = f.map->picture();
    // Not a time of the run, another text of one, not a number, an empty file, no file.
    for (const QString time : {"77", "2500.0", "abc", "5000", "0"}) {
        f.dialogs.notices.clear();
        f.draw(time);
        EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::TimeWithoutCompleteResults).arg(time)})
            << time.toStdString();
        EXPECT_TRUE(f.dialogs.notices.value(0).contains(time));
        EXPECT_EQ(f.map->MapTimeText, "2500") << time.toStdString();
        EXPECT_EQ(f.map->picture(), before) << time.toStdString();
    }
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(MapWindow, InASmallFrameTheWindowStaysInsideItAndItsPictureScrolls)
{
    MapFixture f;
    f.runAs("Mapa");
    f.main->resize(1366, 700);
    QCoreApplication::processEvents();
    f.activate();
    QWidget* window = f.map->parentWidget();
    window->move(900, 300);  // where a long drawing would leave the frame's edges
    f.draw("2500");
    const QSize area = f.main->mdiArea()->size();
    EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(window->geometry())) << "inside the frame's visible area";
    EXPECT_EQ(window->height(), area.height()) << "as tall as the frame allows";
    // The picture keeps its pixels, so the readout still reads what is drawn.
    EXPECT_EQ(f.map->Mapa->size(), QSize(800, 640));
    EXPECT_LT(f.map->Mapa->visibleRegion().boundingRect().height(), 640);
    // The window can be resized and maximised, and its picture area follows.
    auto* sub = qobject_cast<QMdiSubWindow*>(window);
    ASSERT_TRUE(sub);
    EXPECT_TRUE(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    sub->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), area);
    EXPECT_GT(f.map->findChild<QWidget*>("MapaArea")->width(), 800);
}

TEST(MapWindow, AFloatingPointFaultLeavesAWhitePictureUnderItsMessage)
{
    MapFixture f;
    f.runAs("Mapa");
    f.activate();
    f.draw("2500");
    f.app.model.C0 = 0;
    f.draw("2500");
    ASSERT_EQ(f.dialogs.errors, QStringList{"Floating point division by zero"});
    QImage white(800, 640, QImage::Format_RGB888);
    white.fill(Qt::white);
    EXPECT_EQ(f.map->picture(), white);
    EXPECT_EQ(f.map->Mapa->pixmap().toImage().convertToFormat(QImage::Format_RGB888), white);
}

TEST(MapWindow, ReadoutAtCornersAndBetweenNodes)
{
    MapFixture f;
    f.runAs("Mapa");
    f.activate();
    f.moveTo(300, 300);
    EXPECT_EQ(f.map->Label4->text(), "0") << "no readout before a drawing";
    f.draw("2500");
    const MapGeometry g = DefineMapGeometry(f.app.model);
    f.moveTo(600, g.PlotTop);
    EXPECT_EQ(f.map->Label4->text(), "100.000");
    EXPECT_EQ(f.map->Label5->text(), "30.000");
    EXPECT_EQ(f.map->Label6->text(), QString::fromStdString(FormatScientific(f.app.grid.at(51, 31), 3, 2, '.')));
    f.moveTo(63, g.PlotTop + g.PlotHeight);  // x = 2.364 m: node 2 (x = 2); y = -30: row 1
    EXPECT_EQ(f.map->Label4->text(), "2.364");
    EXPECT_EQ(f.map->Label5->text(), "-30.000");
    EXPECT_EQ(f.map->Label6->text(), QString::fromStdString(FormatScientific(f.app.grid.at(2, 1), 3, 2, '.')));
    f.moveTo(20, 20);  // outside the plot: the texts stay
    EXPECT_EQ(f.map->Label4->text(), "2.364");
}

TEST(MapWindow, NewClearsThePictureAndMapaJpegWritesABitmap)
{
    MapFixture f;
    f.runAs("Mapa");
    f.activate();
    const std::string path = f.folder.path() + "plume";
    f.dialogs.files.push_back(QString::fromStdString(path));
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_FALSE(std::filesystem::exists(path + ".jpeg")) << "no picture, nothing written";
    EXPECT_EQ(f.dialogs.saveRequests, 0) << "no picture, no name asked for";
    f.dialogs.files.clear();

    f.draw("2500");
    f.dialogs.files.push_back(QString::fromStdString(path + ".jpeg"));
    f.main->action("Mapajpeg1")->trigger();
    const std::string written = path + ".jpeg";
    ASSERT_TRUE(std::filesystem::exists(written));
    const std::string bytes = kavrin::test::ReadBytes(written);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24u) << "24 bits per pixel";
    EXPECT_EQ(bytes[30], 0) << "uncompressed";
    EXPECT_EQ(QImage(QString::fromStdString(written), "BMP").convertToFormat(QImage::Format_RGB888), f.map->picture());

    f.main->action("ToolButton7")->trigger();
    EXPECT_FALSE(f.map->hasPicture());
}

TEST(MapWindow, TheHeadlessMapIsThePictureOfTheWindow)
{
    MapFixture f;
    f.storeSetting("Language", "Port");
    f.runAs("Mapa");
    f.dialogs.files.push_back(QString::fromStdString(f.folder.path() + "Mapa"));
    f.main->action("ToolButton4")->trigger();  // the project file, for the batch tool
    f.activate();
    f.draw("2500");
    const std::string picture = f.folder.path() + "batch.bmp";
    const std::string command = std::string("KAVRIN_DECIMAL_SEPARATOR=. ") + KAVRIN_BIN_DIR + "kavrin-batch map --project '" +
                                f.folder.path() + "Mapa.kvr' --time 2500 --to '" + picture + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(QImage(QString::fromStdString(picture), "BMP").convertToFormat(QImage::Format_RGB888), f.map->picture());
}

TEST(MapWindow, AZoneOffTheAxisIsDrawnAndReadAtItsOwnY)
{
    MapFixture f;
    f.runAs("Mapa");
    f.activate();
    f.draw("2500");
    // The run's plume moved up by 10 m (five rows of 2 m), as a zone centred on y = 10 gives it.
    ResultGrid moved;
    for (int i = 1; i <= 51; ++i)
        for (int j = 6; j <= 31; ++j) moved.set(i, j, f.app.grid.at(i, j - 5));
    f.app.grid = moved;
    f.app.model.source.firstZoneY = 10;
    ASSERT_TRUE(f.map->DesenhaMapa());
    const MapGeometry g = DefineMapGeometry(f.app.model);
    ASSERT_TRUE(g.WholeYRange);
    const auto levels = MapLevels(0.5);
    const int x = g.PixelX[10];                                          // x = 20 m
    const int axis = g.PlotTop + g.PlotHeight - 40 * g.PlotHeight / 60;  // y = 10 m
    const int image = 2 * g.PlotCentre - axis;                           // y = -10 m
    const auto bandColour = [&](double c) {
        int band = -1;
        for (int k = 0; k < kLevelCount; ++k)
            if (levels[static_cast<std::size_t>(k)] <= c) band = k;
        return band < 0 ? QColor(Qt::white) : colour(LevelColour(levels, band, 0.5));
    };
    EXPECT_EQ(f.at(x, axis), bandColour(moved.at(11, 21)));
    EXPECT_EQ(f.at(x, image), bandColour(moved.at(11, 11)));
    EXPECT_NE(f.at(x, axis), f.at(x, image));
    f.moveTo(x, axis);
    EXPECT_EQ(f.map->Label4->text(), "20.000");
    EXPECT_EQ(f.map->Label5->text(), "10.000");
    EXPECT_EQ(f.map->Label6->text(), QString::fromStdString(FormatScientific(moved.at(11, 21), 3, 2, '.')));
    f.moveTo(x, image);
    EXPECT_EQ(f.map->Label5->text(), "-10.000");
    EXPECT_EQ(f.map->Label6->text(), QString::fromStdString(FormatScientific(moved.at(11, 11), 3, 2, '.')));

    // Time 0: the zone's bar from y = 0 to 20 m.
    f.map->MapTimeText = "0";
    ASSERT_TRUE(f.map->DesenhaMapa());
    EXPECT_EQ(f.at(53, axis), QColor(255, 0, 0));
    EXPECT_EQ(f.at(53, image), QColor(Qt::white));
}
