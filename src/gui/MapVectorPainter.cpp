#include "gui/MapVectorPainter.h"

#include "gui/MapPainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace kavrin {

namespace {

QColor colourOf(Rgb c)
{
    return QColor(c.r, c.g, c.b);
}

// A pen at least `thinnest` wide: one pixel of the picture, and at least one
// of the page when the picture is drawn smaller (a thinner stroke would be
// blended into its neighbours' colours).
QPen penOf(const MapShape& shape, double thinnest)
{
    QPen pen(colourOf(shape.pen), std::max<double>(shape.penWidth, thinnest));
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

QPointF centreOf(PixelPoint p)
{
    return {p.x + 0.5, p.y + 0.5};
}

// The pixels a mask sets, as rectangles: the runs of each row, a run that
// repeats the one above it with the same ends joined to it.
QPainterPath maskPath(const std::vector<std::uint8_t>& mask)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    std::map<std::pair<int, int>, int> open, still;  // run (first, last) → its first row
    const auto set = [&](std::size_t p) { return p / 8 < mask.size() && (mask[p / 8] >> (p % 8) & 1); };
    const auto close = [&](const std::pair<int, int>& run, int top, int bottom) {
        path.addRect(QRectF(run.first, top, run.second - run.first + 1, bottom - top));
    };
    for (int y = 0; y <= kMapHeight; ++y) {
        still.clear();
        for (int x = 0; y < kMapHeight && x < kMapWidth;) {
            const std::size_t row = static_cast<std::size_t>(y) * kMapWidth;
            if (!set(row + static_cast<std::size_t>(x))) {
                ++x;
                continue;
            }
            int last = x;
            while (last + 1 < kMapWidth && set(row + static_cast<std::size_t>(last + 1))) ++last;
            const std::pair<int, int> run{x, last};
            const auto above = open.find(run);
            still[run] = above != open.end() ? above->second : y;
            if (above != open.end()) open.erase(above);
            x = last + 1;
        }
        for (const auto& [run, top] : open) close(run, top, y);
        std::swap(open, still);
    }
    return path;
}

// A line of the raster canvas covers its first pixel and stops before its
// last: from the first pixel's edge to the last one's, along the pixels' centre line.
QLineF lineOf(PixelPoint from, PixelPoint to)
{
    const QPointF a = centreOf(from), b = centreOf(to);
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    const QPointF half = d / length * 0.5;
    return {a - half, b - half};
}

void paintShape(const MapShape& shape, QPainter& painter, double thinnest)
{
    const PixelPolygon& p = shape.points;
    switch (shape.kind) {
    case MapShape::Kind::Rectangle: {
        const QRectF whole(p[0].x, p[0].y, p[1].x - p[0].x, p[1].y - p[0].y);
        if (whole.isEmpty()) return;
        painter.fillRect(whole, colourOf(shape.brush));
        if (shape.pen == shape.brush) return;
        // The outline lies on the border pixels, inside the rectangle.
        QPen pen = penOf(shape, thinnest);
        const double w = pen.widthF();
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(whole.adjusted(w / 2, w / 2, -w / 2, -w / 2));
        return;
    }
    case MapShape::Kind::Polygon: {
        if (p.empty()) return;
        QPolygonF outline;
        for (const PixelPoint& point : p) outline << centreOf(point);
        painter.setPen(penOf(shape, thinnest));
        painter.setBrush(colourOf(shape.brush));
        painter.drawPolygon(outline, Qt::OddEvenFill);
        return;
    }
    case MapShape::Kind::Line:
        if (p[0].x == p[1].x && p[0].y == p[1].y) return;
        painter.setPen(penOf(shape, thinnest));
        painter.drawLine(lineOf(p[0], p[1]));
        return;
    case MapShape::Kind::Pixels:
        painter.fillPath(maskPath(shape.mask), colourOf(shape.brush));
        return;
    case MapShape::Kind::Text: {
        // Opaque text, as the raster canvas writes it: its box white first.
        const QString text = QString::fromStdString(shape.text);
        const QFontMetricsF metrics(painter.font());
        const double width = metrics.horizontalAdvance(text);
        const double left = p[0].x - (shape.rightAligned ? width : 0);
        painter.fillRect(QRectF(left, p[0].y, width, metrics.height()), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left, p[0].y + metrics.ascent()), text);
        return;
    }
    }
}

}  // namespace

void PaintMapVector(const MapPicture& picture, QPainter& painter, QSize size)
{
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const double scale = std::min(size.width() / double(kMapWidth), size.height() / double(kMapHeight));
    painter.translate((size.width() - kMapWidth * scale) / 2, (size.height() - kMapHeight * scale) / 2);
    painter.scale(scale, scale);
    painter.setClipRect(QRect(0, 0, kMapWidth, kMapHeight));
    painter.setFont(MapFont());
    for (const MapShape& shape : picture.shapes) paintShape(shape, painter, std::max(1.0, 1 / scale));
    painter.restore();
}

PictureSource MapPictureSource(const MapPicture& picture, QSize size)
{
    const bool plain = size == QSize(kMapWidth, kMapHeight);
    return {size,
            [&picture, size, plain] {
                if (plain) return PaintMapPicture(picture);
                QImage image(size, QImage::Format_RGB888);
                QPainter painter(&image);
                PaintMapVector(picture, painter, size);
                return image;
            },
            [&picture, size](QPainter& painter) { PaintMapVector(picture, painter, size); }};
}

}  // namespace kavrin
