#include "gui/PictureExport.h"

#include "map/BitmapFile.h"

namespace kavrin {

void WriteBitmap(const QImage& picture, const QString& path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    WriteBitmapFile(path.toStdString(), rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine());
}

}  // namespace kavrin
