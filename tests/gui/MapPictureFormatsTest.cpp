// The map in every format: the bitmap as it always was, the PNG with its
// pixels, the SVG and PDF drawn as vector shapes that the desktop's own
// renderers (rsvg-convert, pdftoppm) turn back into the same picture, at the
// stored size, and through kavrin-batch chosen by the file's name.
#include "TestSupport.h"
#include "batch/BatchProgram.h"
#include "core/map/MapTestSupport.h"
#include "gui/MapPainter.h"
#include "gui/MapVectorPainter.h"
#include "gui/PictureExport.h"
#include "map/BitmapFile.h"
#include "text/Errors.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kavrin::test {

namespace {

// The map of the design model at 2500 days: one outline per level, on the
// axis; and the same source 10 m off the axis, every level a region of pixels.
MapPicture designMap(bool offTheAxis)
{
    ModelState model = DesignModel({{"Edit4", "2"}, {"Edit7", "2"}});
    if (offTheAxis) model.source.firstZoneY = 10;
    const ResultGrid grid = offTheAxis ? ZonesGridAtTime(model, 2500) : GridAtTime(model, 2500);
    return DesenhaMapa({model, grid, "2500", false, false, '.'});
}

bool hasShape(const MapPicture& map, MapShape::Kind kind)
{
    return std::any_of(map.shapes.begin(), map.shapes.end(), [&](const MapShape& s) { return s.kind == kind; });
}

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB888);
}

// The share of pixels of `a` whose colour is within `tolerance` of `b`'s in every channel.
double agreement(const QImage& a, const QImage& b, int tolerance)
{
    if (a.size() != b.size()) return 0;
    const QImage x = rgb(a), y = rgb(b);
    long same = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar *p = x.constScanLine(row), *q = y.constScanLine(row);
        for (int i = 0; i < x.width(); ++i) {
            bool close = true;
            for (int c = 0; c < 3; ++c) close = close && std::abs(p[3 * i + c] - q[3 * i + c]) <= tolerance;
            same += close;
        }
    }
    return static_cast<double>(same) / (static_cast<double>(x.width()) * x.height());
}

// The picture a desktop renderer makes of a file, or a null image when the
// renderer is not installed.
QImage rendered(const QString& program, const QStringList& arguments, const QString& output)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) return {};
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QImage(output);
}

QImage svgRendered(const std::string& svg, const std::string& png)
{
    return rendered("rsvg-convert", {"-b", "white", "-o", QString::fromStdString(png), QString::fromStdString(svg)},
                    QString::fromStdString(png));
}

QImage pdfRendered(const std::string& pdf, const std::string& stem)
{
    return rendered("pdftoppm", {"-r", "72", "-png", "-singlefile", QString::fromStdString(pdf), QString::fromStdString(stem)},
                    QString::fromStdString(stem + ".png"));
}

QImage decoded(const QByteArray& bytes)
{
    return rgb(QImage::fromData(bytes));
}

}  // namespace

TEST(MapPictureFormats, TheBitmapIsTodaysAndThePngHoldsItsPixels)
{
    for (const bool offTheAxis : {false, true}) {
        const MapPicture map = designMap(offTheAxis);
        ASSERT_TRUE(hasShape(map, offTheAxis ? MapShape::Kind::Pixels : MapShape::Kind::Polygon));
        const QImage raster = rgb(PaintMapPicture(map));
        const PictureSource source = MapPictureSource(map, QSize(800, 640));
        const QByteArray bitmap = EncodePicture(source, PictureFormat::Bitmap);
        EXPECT_EQ(bitmap.toStdString(), EncodeBitmap(raster.constBits(), 800, 640, raster.bytesPerLine())) << offTheAxis;
        const QByteArray png = EncodePicture(source, PictureFormat::Png);
        EXPECT_TRUE(png.startsWith("\x89PNG"));
        EXPECT_EQ(decoded(png), raster) << offTheAxis;
        EXPECT_EQ(decoded(png), decoded(bitmap)) << "the PNG decodes to the bitmap's pixels";
    }
}

// A picture program loads the font ahead and looks for no image plugin: its
// pictures are byte for byte those of a program that does neither.
TEST(MapPictureFormats, TheBuiltInFormatsAndAFontLoadedAheadWriteTheSameBytes)
{
    const MapPicture map = designMap(false);
    const PictureSource source = MapPictureSource(map, QSize(800, 640));
    const PictureFormat formats[] = {PictureFormat::Bitmap, PictureFormat::Png, PictureFormat::Svg};
    std::vector<QByteArray> before;
    for (const PictureFormat format : formats) before.push_back(EncodePicture(source, format));
    LoadMapFont();
    UseBuiltInPictureFormats();
    EXPECT_TRUE(QCoreApplication::libraryPaths().isEmpty());
    for (std::size_t k = 0; k < std::size(formats); ++k)
        EXPECT_EQ(EncodePicture(source, formats[k]), before[k]) << PictureExtension(formats[k]);
    EXPECT_EQ(decoded(EncodePicture(source, PictureFormat::Png)), rgb(PaintMapPicture(map)));
}

// Painted without smoothing at the picture's own size, the vector shapes
// cover the raster canvas's pixels: exactly for rectangles, lines and pixel
// masks, nearly so for the outlines' polygons.
TEST(MapPictureFormats, TheVectorShapesCoverTheRastersPixels)
{
    MapPicture hand;
    std::vector<std::uint8_t> mask(800 * 640 / 8, 0);
    for (int y = 100; y < 140; ++y)
        for (int x = 30 + y % 7; x < 90 + (y / 10) * 3; ++x) mask[(y * 800 + x) / 8] |= std::uint8_t(1u << ((y * 800 + x) % 8));
    hand.shapes = {
        {MapShape::Kind::Rectangle, kWhite, kWhite, {{0, 0}, {800, 640}}, {}, {}, 1},
        {MapShape::Kind::Rectangle, kBlack, {10, 200, 30}, {{200, 300}, {260, 350}}, {}, {}, 1},
        {MapShape::Kind::Line, kBlack, kWhite, {{45, 400}, {605, 400}}, {}, {}, 1},
        {MapShape::Kind::Line, kBlack, kWhite, {{50, 410}, {50, 500}}, {}, {}, 1},
        {MapShape::Kind::Pixels, {255, 0, 0}, {255, 0, 0}, {}, {}, mask, 1},
    };
    const auto vector = [](const MapPicture& map) {
        QImage image(800, 640, QImage::Format_RGB888);
        QPainter painter(&image);
        PaintMapVector(map, painter, image.size());
        return image;
    };
    EXPECT_EQ(vector(hand), rgb(PaintMapPicture(hand)));
    for (const bool offTheAxis : {false, true}) {
        const MapPicture map = designMap(offTheAxis);
        EXPECT_GT(agreement(vector(map), PaintMapPicture(map), 0), 0.99) << offTheAxis;
    }
}

TEST(MapPictureFormats, ALineOrOutlineTakesItsPensWidth)
{
    MapPicture map;
    map.shapes = {{MapShape::Kind::Rectangle, kWhite, kWhite, {{0, 0}, {800, 640}}, {}, {}, 1},
                  {MapShape::Kind::Line, kBlack, kWhite, {{100, 300}, {700, 300}}, {}, {}, 5},
                  {MapShape::Kind::Polygon, kBlack, kWhite, {{100, 400}, {300, 400}, {300, 500}, {100, 500}}, {}, {}, 3}};
    QImage image(800, 640, QImage::Format_RGB888);
    QPainter painter(&image);
    PaintMapVector(map, painter, image.size());
    painter.end();
    const auto darkRows = [&](int x, int from, int to) {
        int dark = 0;
        for (int y = from; y < to; ++y) dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_EQ(darkRows(400, 280, 320), 5) << "the line";
    EXPECT_EQ(darkRows(200, 380, 420), 3) << "the polygon's outline";
    const QByteArray svg = EncodePicture(MapPictureSource(map, QSize(800, 640)), PictureFormat::Svg);
    EXPECT_TRUE(svg.contains("stroke-width=\"5\"")) << svg.toStdString();
    EXPECT_TRUE(svg.contains("stroke-width=\"3\""));
}

TEST(MapPictureFormats, SvgAndPdfAreVectorDrawingsOfTheSameMap)
{
    TempFolder folder;
    for (const bool offTheAxis : {false, true}) {
        const MapPicture map = designMap(offTheAxis);
        const QImage raster = PaintMapPicture(map);
        const PictureSource source = MapPictureSource(map, QSize(800, 640));
        const std::string svg = folder.path() + "map.svg", pdf = folder.path() + "map.pdf";
        WritePicture(source, PictureFormat::Svg, QString::fromStdString(svg));
        WritePicture(source, PictureFormat::Pdf, QString::fromStdString(pdf));
        const std::string svgText = ReadBytes(svg);
        EXPECT_NE(svgText.find("<svg"), std::string::npos);
        EXPECT_NE(svgText.find("viewBox=\"0 0 800 640\""), std::string::npos);
        EXPECT_NE(svgText.find("Time = 2500  days"), std::string::npos) << "the title is text";
        EXPECT_EQ(svgText.find("<image"), std::string::npos) << "no embedded raster";
        EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");

        const QImage fromSvg = svgRendered(svg, folder.path() + "svg.png");
        const QImage fromPdf = pdfRendered(pdf, folder.path() + "pdf");
        if (fromSvg.isNull() || fromPdf.isNull()) GTEST_SKIP() << "rsvg-convert or pdftoppm is not installed";
        EXPECT_EQ(fromSvg.size(), QSize(800, 640));
        EXPECT_EQ(fromPdf.size(), QSize(800, 640));
        // Smoothed edges and another font renderer: most pixels, not all, agree.
        EXPECT_GT(agreement(fromSvg, raster, 24), 0.9) << offTheAxis;
        EXPECT_GT(agreement(fromPdf, raster, 24), 0.9) << offTheAxis;
    }
}

// Another size keeps the map's proportions: scaled by the smaller ratio and
// centred, the rest white; the pixels keep the map's own colours.
TEST(MapPictureFormats, AnotherSizeKeepsTheProportionsCentredOnWhite)
{
    const MapPicture map = designMap(false);
    const QImage raster = rgb(PaintMapPicture(map));
    const QImage twice = rgb(MapPictureSource(map, QSize(1600, 1280)).pixels());
    ASSERT_EQ(twice.size(), QSize(1600, 1280));
    EXPECT_GT(agreement(twice.scaled(800, 640), raster, 0), 0.97);

    const QImage wide = rgb(MapPictureSource(map, QSize(1000, 400)).pixels());
    ASSERT_EQ(wide.size(), QSize(1000, 400));
    // 800 × 640 scaled by 400 / 640 is 500 × 400, from x = 250 to 750.
    for (int y = 0; y < 400; y += 7)
        for (const int x : {0, 120, 249, 750, 999}) ASSERT_EQ(wide.pixel(x, y), qRgb(255, 255, 255)) << x << " " << y;
    EXPECT_GT(agreement(wide.copy(250, 0, 500, 400), raster.scaled(500, 400), 64), 0.8);
    QSet<QRgb> colours;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 1000; ++x) colours.insert(wide.pixel(x, y));
    EXPECT_LE(colours.size(), 70) << "the levels, the scale's cells, black and white: no smoothing";

    TempFolder folder;
    const std::string pdf = folder.path() + "wide.pdf";
    WritePicture(MapPictureSource(map, QSize(1000, 400)), PictureFormat::Pdf, QString::fromStdString(pdf));
    const QImage page = pdfRendered(pdf, folder.path() + "wide");
    if (page.isNull()) GTEST_SKIP() << "pdftoppm is not installed";
    EXPECT_EQ(page.size(), QSize(1000, 400)) << "a page of 1000 × 400 points";
}

TEST(MapPictureFormats, EveryFormatIsWrittenWholeOrNotAtAll)
{
    TempFolder folder;
    const MapPicture map = designMap(false);
    const PictureSource source = MapPictureSource(map, QSize(800, 640));
    struct Case {
        PictureFormat format;
        std::string start;
    };
    for (const Case& c : {Case{PictureFormat::Bitmap, "BM"}, Case{PictureFormat::Png, "\x89PNG"},
                          Case{PictureFormat::Svg, "<?xml"}, Case{PictureFormat::Pdf, "%PDF-"}}) {
        const std::string extension = PictureExtension(c.format);
        EXPECT_THROW(WritePicture(source, c.format, QString::fromStdString(folder.path() + "missing/map" + extension)),
                     FileError);
        const std::string kept = folder.path() + "map" + extension;
        WriteBytes(kept, "old");
        WritePicture(source, c.format, QString::fromStdString(kept));
        EXPECT_EQ(ReadBytes(kept).substr(0, c.start.size()), c.start) << extension;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 4)
        << "the four pictures, no temporary file left";
}

}  // namespace kavrin::test
