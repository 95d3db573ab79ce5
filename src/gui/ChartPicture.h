// A chart as a picture: rendered whole on white and written as an
// uncompressed 24-bit bitmap, whatever the file's name says.
#pragma once

#include <QImage>
#include <QString>

class QChartView;

namespace kavrin {

// The view's whole area as displayed, on a white background.
QImage RenderChart(QChartView* view);

// Writes `picture` as an uncompressed 24-bit BMP at exactly `path`, replacing
// any file there; a failure leaves an earlier file intact and throws FileError.
void WriteBitmap(const QImage& picture, const QString& path);

}  // namespace kavrin
