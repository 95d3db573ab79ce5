// The texts a chart shows on its axes, as drawn in its scene.
#pragma once

#include <QApplication>
#include <QChartView>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QStringList>

namespace kavrin::test {

// Every visible text item's text except the chart's title, after the chart has laid itself out.
inline QStringList ShownChartTexts(QChartView* view)
{
    view->resize(view->size().expandedTo(QSize(500, 400)));
    view->show();
    QApplication::processEvents();
    QApplication::processEvents();
    QStringList texts;
    for (QGraphicsItem* item : view->scene()->items())
        if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible() && !text->toPlainText().isEmpty())
            texts << text->toPlainText();
    return texts;
}

}  // namespace kavrin::test
