// The local date and time as the workspace writes it in names and project
// files; the desktop program and kavrin-batch both make it here.
#pragma once

#include <ctime>
#include <string>

namespace kavrin {

// Short date, a blank and long time of the user's locale, every "/" and ":"
// replaced by "-"; at exactly midnight the time part is left out.
std::string DateTimeText(std::time_t when);

}  // namespace kavrin
