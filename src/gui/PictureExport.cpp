#include "gui/PictureExport.h"

#include "gui/LargeImage.h"
#include "map/BitmapFile.h"
#include "map/PictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <optional>
#include <unordered_map>

namespace kavrin {

namespace {

// 96 units to the inch: an SVG viewer shows one unit as one pixel of the screen.
constexpr int kSvgResolution = 96;

QByteArray svgOf(const PictureSource& picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(picture.size);
    svg.setViewBox(QRect(QPoint(0, 0), picture.size));
    svg.setResolution(kSvgResolution);
    svg.setTitle(QStringLiteral("KAVRIN"));
    QPainter painter(&svg);
    picture.paint(painter);
    painter.end();
    // The generator gives the size in millimetres, which a viewer rounds to
    // its own pixels: the picture's size is stated in pixels instead.
    QString text = QString::fromUtf8(buffer.data());
    text.replace(
        QRegularExpression(QStringLiteral("^<svg width=\"[0-9.]+mm\" height=\"[0-9.]+mm\""), QRegularExpression::MultilineOption),
        QStringLiteral("<svg width=\"%1\" height=\"%2\"").arg(picture.size.width()).arg(picture.size.height()));
    return text.toUtf8();
}

// A PDF writer whose pages are `size` points, one point to a unit, without margins.
void setUpPdf(QPdfWriter& pdf, QSize size)
{
    pdf.setCreator(QStringLiteral("KAVRIN"));
    pdf.setResolution(72);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch),
                                  QPageLayout::Portrait, QMarginsF()));
}

QByteArray pdfOf(QSize size, int pages, const std::function<void(int, QPainter&)>& paintPage)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        setUpPdf(pdf, size);
        QPainter painter(&pdf);
        for (int n = 0; n < pages; ++n) {
            if (n > 0) pdf.newPage();
            painter.save();
            paintPage(n, painter);
            painter.restore();
        }
    }
    return buffer.data();
}

// The picture with a palette of its own colours, when they are 256 at most
// (a map's are): a third of the bytes to compress, the same pixels.
std::optional<QImage> withPalette(const QImage& rgb)
{
    QImage indexed = LargeImage(rgb.width(), rgb.height(), QImage::Format_Indexed8, 1);
    QList<QRgb> palette;
    std::unordered_map<QRgb, uchar> index;
    QRgb last = 0;
    uchar lastIndex = 0;
    bool any = false;
    const int width = rgb.width(), height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const uchar* p = rgb.constScanLine(y);
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < width; ++x, p += 3) {
            const QRgb colour = qRgb(p[0], p[1], p[2]);
            if (!any || colour != last) {
                const auto [at, added] = index.try_emplace(colour, static_cast<uchar>(palette.size()));
                if (added) {
                    if (palette.size() == 256) return std::nullopt;
                    palette.push_back(colour);
                }
                last = colour, lastIndex = at->second, any = true;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

QByteArray pngOf(const QImage& pixels)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QImage rgb = pixels.convertToFormat(QImage::Format_RGB888);
    withPalette(rgb).value_or(rgb).save(&buffer, "PNG");
    return buffer.data();
}

}  // namespace

void WriteBitmap(const QImage& picture, const QString& path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    WriteBitmapFile(path.toStdString(), rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine());
}

QByteArray EncodePicture(const PictureSource& picture, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bitmap: {
        const QImage rgb = picture.pixels().convertToFormat(QImage::Format_RGB888);
        const std::string bytes = EncodeBitmap(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine());
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    case PictureFormat::Png:
        return pngOf(picture.pixels());
    case PictureFormat::Svg:
        return svgOf(picture);
    case PictureFormat::Pdf:
        return pdfOf(picture.size, 1, [&](int, QPainter& painter) { picture.paint(painter); });
    }
    return {};
}

void WritePicture(const PictureSource& picture, PictureFormat format, const QString& path)
{
    // A bitmap's 1.5 MB go to the file from the one buffer they are encoded in.
    if (format == PictureFormat::Bitmap) {
        WriteBitmap(picture.pixels(), path);
        return;
    }
    const QByteArray bytes = EncodePicture(picture, format);
    PictureFileWriter file(path.toStdString());
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

void UseBuiltInPictureFormats()
{
    QCoreApplication::setLibraryPaths({});
}

void WritePdfPages(const QString& path, QSize size, int pages, const std::function<void(int, QPainter&)>& paintPage)
{
    WritePictureFile(path.toStdString(), pdfOf(size, pages, paintPage).toStdString());
}

}  // namespace kavrin
