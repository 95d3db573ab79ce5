// The save dialogs of the map, the charts, the comparison chart and the
// animation offer PNG, SVG and PDF after their own filter, which still writes
// what it always wrote; the filter left chosen decides the format.
#include "RunFixture.h"
#include "TestSupport.h"
#include "gui/ChartPicture.h"
#include "gui/Settings.h"
#include "observations/TObservacao.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

namespace {

enum Filter { Own, Png, Svg, Pdf };

struct PictureFixture : RunFixture {
    PictureFixture() { runAs("Fig"); }
    // Answers the next save dialog with `name` under the filter `filter`.
    void answer(const std::string& name, Filter filter)
    {
        dialogs.files.push_back(QString::fromStdString(folder.path() + name));
        dialogs.chosenFilters.push_back(filter);
    }
    void drawMap()
    {
        TFormMapa* map = app.windows.mapa;
        main->showWindow(map, true);
        map->ComboBox1->setEditText("2500");
        map->BitBtn1->click();
    }
    QImage picture(const std::string& name) const
    {
        return QImage(QString::fromStdString(folder.path() + name)).convertToFormat(QImage::Format_RGB888);
    }
    std::string bytes(const std::string& name) const { return ReadBytes(folder.path() + name); }
    QStringList lastFilters() const { return dialogs.offeredFilters.last().split(";;"); }
};

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB888);
}

int pdfPages(const std::string& pdf)
{
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

}  // namespace

TEST(PictureSaveFormats, TheMapInEveryFormatItsOwnFilterFirst)
{
    PictureFixture f;
    f.drawMap();
    const QImage shown = rgb(f.app.windows.mapa->picture());
    f.answer("plume", Own);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.lastFilters(), (QStringList{f.app.text(AddedText::PictureFilterBitmap), f.app.text(AddedText::PictureFilterPng),
                                            f.app.text(AddedText::PictureFilterSvg), f.app.text(AddedText::PictureFilterPdf)}));
    EXPECT_EQ(f.bytes("plume.jpeg").substr(0, 2), "BM") << "the bitmap under \".jpeg\", as always";
    EXPECT_EQ(f.picture("plume.jpeg"), shown);

    f.answer("plume", Png);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.picture("plume.png"), shown);
    f.answer("plume.svg", Svg);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_NE(f.bytes("plume.svg").find(MapTitle("2500", false)), std::string::npos) << "the title as text";
    f.answer("plume", Pdf);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.bytes("plume.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(pdfPages(f.bytes("plume.pdf")), 1);
    EXPECT_FALSE(std::filesystem::exists(f.folder.path() + "plume.svg.svg"));
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
}

TEST(PictureSaveFormats, TheMapAtTheStoredSize)
{
    PictureFixture f;
    MapOptions options;
    options.width = 1200, options.height = 960;
    StoreMapOptions(options);
    f.drawMap();
    f.answer("large", Png);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.picture("large.png").size(), QSize(1200, 960));
    f.answer("large", Own);
    f.main->action("Mapajpeg1")->trigger();
    EXPECT_EQ(f.picture("large.jpeg").size(), QSize(1200, 960));
}

TEST(PictureSaveFormats, TheChartsAndTheComparisonChart)
{
    PictureFixture f;
    f.answer("chart", Png);
    f.main->action("Graficos1")->trigger();
    EXPECT_EQ(f.picture("chart.png"), rgb(RenderChart(f.app.windows.grafico->shownChart())));
    f.answer("chart", Svg);
    f.main->action("Graficos1")->trigger();
    EXPECT_NE(f.bytes("chart.svg").find("<svg"), std::string::npos);
    f.answer("chart", Own);
    f.main->action("Graficos1")->trigger();
    EXPECT_EQ(f.bytes("chart.jpeg").substr(0, 2), "BM");

    f.answer("comparison", Pdf);
    f.app.windows.observacao->findChild<QPushButton*>("BitBtn3")->click();
    EXPECT_EQ(f.lastFilters().first(), QString::fromUtf8("Arquivo de figuras (*.jpg)")) << "its own filter first";
    EXPECT_EQ(f.lastFilters().size(), 4);
    EXPECT_EQ(pdfPages(f.bytes("comparison.pdf")), 1);
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
}

TEST(PictureSaveFormats, TheMassBalanceChartAsTheOtherCharts)
{
    PictureFixture f;
    TFormGrafico* charts = f.app.windows.grafico;
    charts->FormActivate();
    const QString balance = QString::fromUtf8("Balanço de massa");
    charts->ComboBox2->setCurrentText(balance);
    emit charts->ComboBox2->textActivated(balance);
    charts->BitBtn1->click();
    ASSERT_EQ(charts->shownChart(), charts->MassBalanceView);
    f.answer("balance", Png);
    f.main->action("Graficos1")->trigger();
    EXPECT_EQ(f.lastFilters().size(), 4);
    EXPECT_EQ(f.picture("balance.png"), rgb(RenderChart(charts->MassBalanceView)));
    f.answer("balance", Svg);
    f.main->action("Graficos1")->trigger();
    EXPECT_NE(f.bytes("balance.svg").find("<svg"), std::string::npos);
    f.answer("balance", Own);
    f.main->action("Graficos1")->trigger();
    EXPECT_EQ(f.bytes("balance.jpeg").substr(0, 2), "BM");
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
}

TEST(PictureSaveFormats, TheAnimationsFramesOneFileOrOnePagePerTime)
{
    PictureFixture f;
    TFormAnimacao* animation = f.app.windows.animacao;
    animation->availableMemory = [] { return std::optional<std::uint64_t>(1ull << 32); };
    f.main->showWindow(animation, true);
    animation->Button1->click();
    ASSERT_EQ(animation->Image.size(), 2);
    f.drawMap();
    const QImage shown = rgb(f.app.windows.mapa->picture());
    f.app.windows.mapa->ComboBox1->setEditText("0");  // the next drawing's time, not the one shown

    f.answer("frames.png", Png);
    animation->ButtonGif->click();
    EXPECT_EQ(f.lastFilters().first(), "GIF (*.gif)");
    EXPECT_EQ(f.picture("frames-T0.png"), rgb(QImage(animation->Image[0])));
    EXPECT_EQ(f.picture("frames-T2500.png"), rgb(QImage(animation->Image[1])));
    f.answer("frames", Svg);
    animation->ButtonGif->click();
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "frames-T2500.svg"));
    f.answer("frames", Pdf);
    animation->ButtonGif->click();
    EXPECT_EQ(pdfPages(f.bytes("frames.pdf")), 2);
    f.answer("frames", Own);
    animation->ButtonGif->click();
    EXPECT_EQ(f.bytes("frames.gif").substr(0, 6), "GIF89a");
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();

    EXPECT_EQ(rgb(f.app.windows.mapa->picture()), shown) << "the map shown before is shown again";
    EXPECT_EQ(f.app.windows.mapa->MapTimeText, "2500");
}
