// Pictures written as uncompressed 24-bit bitmaps (BMP), whatever the
// file's name says: the map, its animation frames and the charts.
#pragma once

#include <QImage>
#include <QString>

namespace kavrin {

// Writes `picture` at exactly `path`, replacing any file there; a failure
// leaves an earlier file intact and throws FileError.
void WriteBitmap(const QImage& picture, const QString& path);

}  // namespace kavrin
