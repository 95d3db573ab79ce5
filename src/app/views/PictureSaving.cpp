#include "views/PictureSaving.h"

#include "gui/ChartPicture.h"
#include "gui/MapVectorPainter.h"
#include "gui/SaveName.h"
#include "gui/Settings.h"

namespace kavrin {

PictureFilters PictureFiltersAfter(const AppState& app, const QString& own)
{
    return {own, app.text(AddedText::PictureFilterPng), app.text(AddedText::PictureFilterSvg),
            app.text(AddedText::PictureFilterPdf)};
}

PictureFilters FrameFiltersAfter(const AppState& app, const QString& own)
{
    return {own, app.text(AddedText::FrameFilterPng), app.text(AddedText::FrameFilterSvg), app.text(AddedText::FrameFilterPdf)};
}

void WriteChosenPicture(const PictureSource& picture, const PictureSaveChoice& choice)
{
    if (choice.format)
        WritePicture(picture, *choice.format, choice.path);
    else
        WritePicture(picture, PictureFormat::Bitmap, PictureSaveName(choice.path));
}

void SavePicture(const AppState& app, Dialogs& dialogs, const PictureSource& picture, const QString& own)
{
    const std::optional<PictureSaveChoice> choice = AskPictureSave(dialogs, PictureFiltersAfter(app, own));
    if (!choice) return;
    WriteChosenPicture(picture, *choice);
}

void SaveChartPicture(const AppState& app, Dialogs& dialogs, QChartView* view, const QString& own)
{
    SavePicture(app, dialogs, ChartPictureSource(view), own);
}

QSize MapSaveSize()
{
    const MapOptions options = StoredMapOptions();
    return {options.width, options.height};
}

QStringList WriteFramePictures(const QString& path, PictureFormat format, const QStringList& times, QSize size,
                               const std::function<const MapPicture&(int)>& drawFrame)
{
    if (format == PictureFormat::Pdf) {
        WritePdfPages(path, size, static_cast<int>(times.size()),
                      [&](int n, QPainter& painter) { PaintMapVector(drawFrame(n), painter, size); });
        return {path};
    }
    const QString extension = QString::fromStdString(PictureExtension(format));
    const QString stem = WithoutExtension(path, extension);
    QStringList written;
    for (int n = 0; n < times.size(); ++n) {
        const QString file = stem + "-T" + times[n] + extension;
        WritePicture(MapPictureSource(drawFrame(n), size), format, file);
        written << file;
    }
    return written;
}

}  // namespace kavrin
