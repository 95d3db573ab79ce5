#include "gui/ChartDetailLine.h"

#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>

namespace kavrin {

namespace {

constexpr int kDetailKey = 0;
const char* const kDetailTag = "ChartDetailLine";

QGraphicsSimpleTextItem* detailItem(const QChart* chart)
{
    for (QGraphicsItem* item : chart->childItems())
        if (item->data(kDetailKey).toString() == kDetailTag) return static_cast<QGraphicsSimpleTextItem*>(item);
    return nullptr;
}

// The chart lays its title out right above the plot area; the larger top
// margin leaves the room for the line above the title, at the margin's top.
void place(QChart* chart, QGraphicsSimpleTextItem* item)
{
    const QRectF text = item->boundingRect();
    const double top = chart->plotArea().top() - chart->margins().top();
    item->setPos(chart->rect().center().x() - text.width() / 2, top);
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
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [chart] {
            if (QGraphicsSimpleTextItem* shown = detailItem(chart)) place(chart, shown);
        });
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
