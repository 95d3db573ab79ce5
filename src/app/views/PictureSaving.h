// Saving the map, the charts and the animation's frames in the format the
// save dialog's filter chose: each command's own filter first, doing what it
// always did, then PNG, SVG and PDF.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "gui/PictureExport.h"
#include "gui/PictureSaveDialog.h"
#include "map/MapPicture.h"

#include <QSize>
#include <QStringList>

#include <functional>

class QChartView;

namespace kavrin {

// PNG, SVG and PDF in the applied language after `own`.
PictureFilters PictureFiltersAfter(const AppState& app, const QString& own);
// The same for the animation's frames: one file, or one page, per time.
PictureFilters FrameFiltersAfter(const AppState& app, const QString& own);

// Writes `picture` as chosen: the command's own filter as the bitmap under
// ".jpeg" (PictureSaveName), the others in their format.
void WriteChosenPicture(const PictureSource& picture, const PictureSaveChoice& choice);

// `picture` through the picture dialog whose own filter is `own`: nothing
// when the user cancels, else written as chosen.
void SavePicture(const AppState& app, Dialogs& dialogs, const PictureSource& picture, const QString& own);

// The chart of `view` through the picture dialog whose own filter is `own`.
void SaveChartPicture(const AppState& app, Dialogs& dialogs, QChartView* view, const QString& own);

// The size of a saved map: the stored map options' width × height.
QSize MapSaveSize();

// The frames of `times` in `format` (PNG, SVG or PDF): a PDF of one page per
// time at `path`; PNG and SVG as one file per time beside it, its name with
// "-T" + the time before the extension ("plume.png" gives plume-T0.png,
// plume-T1250.png, …). `drawFrame`(n) draws frame n. Returns the files written.
QStringList WriteFramePictures(const QString& path, PictureFormat format, const QStringList& times, QSize size,
                               const std::function<const MapPicture&(int)>& drawFrame);

}  // namespace kavrin
