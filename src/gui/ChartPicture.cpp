#include "gui/ChartPicture.h"

#include <QChartView>
#include <QPainter>

namespace kavrin {

namespace {

// A window that was never shown has not been laid out: it is drawn at the
// size it is meant to have.
void layOut(QChartView* view)
{
    if (!view->isVisible()) view->resize(view->size().expandedTo(view->minimumSize()));
}

}  // namespace

QImage RenderChart(QChartView* view)
{
    layOut(view);
    QImage picture(view->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    view->render(&painter);
    return picture;
}

PictureSource ChartPictureSource(QChartView* view)
{
    layOut(view);
    return {view->size(), [view] { return RenderChart(view); },
            [view](QPainter& painter) {
                const QRect page(QPoint(0, 0), view->size());
                painter.fillRect(page, Qt::white);
                view->render(&painter, page);
            }};
}

}  // namespace kavrin
