// The local date and time as the workspace writes it in names and project files.
#pragma once

#include <ctime>
#include <string>

namespace kavrin {

// Short date, a blank and long time of the user's locale, every "/" and ":"
// replaced by "-"; at exactly midnight the time part is left out.
std::string DateTimeText(std::time_t when);

// The same rule applied to date and time texts made elsewhere (the desktop
// program formats them with its own locale).
std::string DateTimeText(const std::string& shortDate, const std::string& longTime, bool midnight);

}  // namespace kavrin
