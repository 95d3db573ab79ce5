// Pictures of the program's charts: a widget as displayed, written as an
// uncompressed 24-bit Windows bitmap whatever the file name says.
#pragma once

#include <QString>

class QWidget;

namespace kavrin {

// Renders `widget` at its current size and writes it to `path` through a
// temporary file renamed into place; a failure throws FileError and leaves
// any earlier file as it was.
void SaveWidgetBitmap(QWidget& widget, const QString& path);

}  // namespace kavrin
