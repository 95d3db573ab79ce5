#include "gui/ChartPicture.h"

#include <QChartView>
#include <QPainter>

namespace kavrin {

QImage RenderChart(QChartView* view)
{
    // A window that was never shown has not been laid out: draw it at the
    // size it is meant to have.
    if (!view->isVisible()) view->resize(view->size().expandedTo(view->minimumSize()));
    QImage picture(view->size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    view->render(&painter);
    return picture;
}

}  // namespace kavrin
