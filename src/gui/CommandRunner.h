// The one wrapper every command runs through: an error that escapes the
// command is shown in the error box and the program goes on.
#pragma once

#include "gui/Dialogs.h"

#include <functional>

namespace kavrin {

// Runs `command`; returns false when it ended with an error (already shown).
bool RunCommand(Dialogs& dialogs, const std::function<void()>& command);

}  // namespace kavrin
