#include "gui/MapPainter.h"

#include "gui/LargeImage.h"

#include <QPainter>

#include <memory>

namespace kavrin {

QFont MapFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void LoadMapFont()
{
    QImage scratch(120, kMapTextHeight, QImage::Format_RGB888);
    QPainter painter(&scratch);
    painter.setFont(MapFont());
    painter.drawText(QPoint(0, painter.fontMetrics().ascent()), QStringLiteral("0123456789"));
}

QImage WhiteMapPicture()
{
    QImage image = LargeImage(kMapWidth, kMapHeight, QImage::Format_RGB888, 3);
    image.fill(Qt::white);
    return image;
}

QImage PaintMapPicture(const MapPicture& picture)
{
    QImage image = WhiteMapPicture();
    std::unique_ptr<QPainter> painter;  // open across a run of texts
    const QFont font = MapFont();
    for (const MapShape& shape : picture.shapes) {
        if (shape.kind == MapShape::Kind::Text) {
            if (!painter) {
                painter = std::make_unique<QPainter>(&image);
                painter->setFont(font);
                painter->setPen(Qt::black);
                painter->setBackground(Qt::white);
                painter->setBackgroundMode(Qt::OpaqueMode);
            }
            const QString text = QString::fromStdString(shape.text);
            const QFontMetrics metrics = painter->fontMetrics();
            const int left = shape.points[0].x - (shape.rightAligned ? metrics.horizontalAdvance(text) : 0);
            painter->drawText(QPoint(left, shape.points[0].y + metrics.ascent()), text);
            continue;
        }
        painter.reset();
        RgbCanvas canvas(image.bits(), image.width(), image.height(), image.bytesPerLine());
        PaintShape(shape, canvas);
    }
    return image;
}

}  // namespace kavrin
