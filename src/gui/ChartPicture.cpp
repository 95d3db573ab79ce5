#include "ChartPicture.h"

#include "text/Errors.h"

#include <QChartView>
#include <QPainter>
#include <QSaveFile>
#include <cerrno>

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

void WriteBitmap(const QImage& picture, const QString& path)
{
    QSaveFile file(path);
    const auto failure = [&] {
        const int code = file.error() == QFileDevice::PermissionsError ? EACCES : file.error() == QFileDevice::ResourceError ? ENOSPC : EIO;
        file.cancelWriting();
        return FileError(code, path.toStdString());
    };
    if (!file.open(QIODevice::WriteOnly)) throw failure();
    if (!picture.convertToFormat(QImage::Format_RGB32).save(&file, "BMP")) throw failure();
    if (!file.commit()) throw failure();
}

}  // namespace kavrin
