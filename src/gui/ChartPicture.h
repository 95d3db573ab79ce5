// A chart as a picture: rendered whole on white (written with WriteBitmap,
// or in any format with WritePicture).
#pragma once

#include "gui/PictureExport.h"

#include <QImage>

class QChartView;

namespace kavrin {

// The view's whole area as displayed, on a white background.
QImage RenderChart(QChartView* view);

// The chart in every format: RenderChart's pixels, and the view painted as
// lines and texts on a page of its size. The source refers to `view`.
PictureSource ChartPictureSource(QChartView* view);

}  // namespace kavrin
