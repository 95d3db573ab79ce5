// The export onto the site map from the export window: the chosen results
// file as a GeoTIFF (turned or north-up), its contour lines or filled levels,
// the calibration's observation wells, or the map picture with its world
// file, placed as the window's placement says; the placement is then the
// project's (saved with it).
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

namespace kavrin {

class TFormExportGRD;

// Throws KavrinError for what cannot be exported, before anything is written.
void ExportToSite(AppState& app, Dialogs& dialogs, const TFormExportGRD& window);

}  // namespace kavrin
