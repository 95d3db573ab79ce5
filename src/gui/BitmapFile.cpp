#include "BitmapFile.h"

#include "map/BitmapFile.h"
#include "text/Errors.h"

#include <QSaveFile>
#include <cerrno>

namespace kavrin {

void WriteBitmap(const QImage& picture, const QString& path)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    const std::string bytes = EncodeBitmap(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine());
    QSaveFile file(path);
    const auto failure = [&] {
        const int code = file.error() == QFileDevice::PermissionsError ? EACCES : file.error() == QFileDevice::ResourceError ? ENOSPC : EIO;
        file.cancelWriting();
        return FileError(code, path.toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) throw failure();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) throw failure();
    if (!file.commit()) throw failure();
}

}  // namespace kavrin
