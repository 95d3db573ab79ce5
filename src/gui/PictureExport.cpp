#include "PictureExport.h"

#include "text/Errors.h"

#include <QImage>
#include <QSaveFile>
#include <QWidget>

#include <cerrno>

namespace kavrin {

void SaveWidgetBitmap(QWidget& widget, const QString& path)
{
    const QImage picture = widget.grab().toImage().convertToFormat(QImage::Format_RGB888);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && picture.save(&file, "BMP") && file.commit();
    if (!written) {
        const int code = file.error() == QFileDevice::PermissionsError ? EACCES : file.error() == QFileDevice::OpenError ? ENOENT : EIO;
        throw FileError(code, path.toStdString());
    }
}

}  // namespace kavrin
