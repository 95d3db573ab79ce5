#include "gui/ChartDetailLine.h"

#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>

namespace kavrin {

namespace {

constexpr int kDetailKey = 0;
const char* const kDetailTag = "ChartDetailLine";
constexpr double kGap = 4;

QGraphicsSimpleTextItem* detailItem(const QChart* chart)
{
    for (QGraphicsItem* item : chart->childItems())
        if (item->data(kDetailKey).toString() == kDetailTag) return static_cast<QGraphicsSimpleTextItem*>(item);
    return nullptr;
}

// The chart's own title item (a text item the chart lays out itself).
QGraphicsTextItem* titleItem(const QChart* chart)
{
    for (QGraphicsItem* item : chart->childItems())
        if (auto* title = dynamic_cast<QGraphicsTextItem*>(item)) return title;
    return nullptr;
}

// The chart lays its title out right above the plot area; the line takes
// that place and the title moves up into the room the larger top margin
// leaves, so that the line reads under the title.
void place(QChart* chart, QGraphicsSimpleTextItem* item)
{
    const QRectF text = item->boundingRect();
    const double lineTop = chart->plotArea().top() - text.height() - kGap;
    item->setPos(chart->rect().center().x() - text.width() / 2, lineTop);
    QGraphicsTextItem* title = titleItem(chart);
    if (!title || !item->isVisible()) return;
    const double titleTop = lineTop - title->boundingRect().height() + kGap;
    if (title->y() != titleTop) title->setY(titleTop);
}

}  // namespace

void SetChartDetailLine(QChart* chart, const QString& text)
{
    QGraphicsSimpleTextItem* item = detailItem(chart);
    if (!item) {
        item = new QGraphicsSimpleTextItem(chart);
        item->setData(kDetailKey, QString(kDetailTag));
        item->setData(kDetailKey + 1, chart->margins().top());
        item->setZValue(10);
        QFont font = chart->titleFont();
        font.setBold(false);
        item->setFont(font);
        item->setBrush(chart->titleBrush());
        const auto replace = [chart] {
            if (QGraphicsSimpleTextItem* shown = detailItem(chart)) place(chart, shown);
        };
        QObject::connect(chart, &QChart::plotAreaChanged, chart, replace);
        // The chart puts its title back on every layout: keep it above the line.
        if (QGraphicsTextItem* title = titleItem(chart)) QObject::connect(title, &QGraphicsObject::yChanged, chart, replace);
    }
    item->setText(text);
    item->setVisible(!text.isEmpty());
    QMargins margins = chart->margins();
    const int base = item->data(kDetailKey + 1).toInt();
    margins.setTop(text.isEmpty() ? base : base + static_cast<int>(QFontMetricsF(item->font()).height()) + 6);
    chart->setMargins(margins);
    place(chart, item);
}

QString ChartDetailLine(const QChart* chart)
{
    const QGraphicsSimpleTextItem* item = detailItem(chart);
    return item && item->isVisible() ? item->text() : QString();
}

}  // namespace kavrin
