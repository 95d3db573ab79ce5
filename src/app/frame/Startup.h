// Start-up: the eleven windows in their order, each in its first state, and
// the commands that only show windows.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"

#include <QStringList>
#include <memory>

namespace kavrin {

class TFormPrincipal;

// Creates every window (the main window owns them all), applies the stored
// language, shows the splash, and returns the main window.
std::unique_ptr<TFormPrincipal> StartKavrin(AppState& app, Dialogs& dialogs, const QStringList& arguments);

}  // namespace kavrin
