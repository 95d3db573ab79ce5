// A chart as a picture: rendered whole on white (written with WriteBitmap).
#pragma once

#include <QImage>

class QChartView;

namespace kavrin {

// The view's whole area as displayed, on a white background.
QImage RenderChart(QChartView* view);

}  // namespace kavrin
