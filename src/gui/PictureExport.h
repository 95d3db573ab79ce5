// A picture of the program saved as a 24-bit bitmap (the core's BitmapFile):
// the map, its animation frames and the charts.
#pragma once

#include <QImage>
#include <QString>

namespace kavrin {

// Writes `picture` at exactly `path`, replacing any file there; a failure
// leaves an earlier file intact and throws FileError naming its cause.
void WriteBitmap(const QImage& picture, const QString& path);

}  // namespace kavrin
