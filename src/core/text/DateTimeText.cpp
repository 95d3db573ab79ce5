#include "text/DateTimeText.h"

#include <algorithm>
#include <locale.h>

namespace kavrin {

namespace {

std::string JoinDateTime(const std::string& shortDate, const std::string& longTime, bool midnight)
{
    std::string text = midnight ? shortDate : shortDate + " " + longTime;
    std::replace(text.begin(), text.end(), '/', '-');
    std::replace(text.begin(), text.end(), ':', '-');
    return text;
}

}  // namespace

std::string DateTimeText(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char date[128] = "";
    char time[128] = "";
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (user) {
        strftime_l(date, sizeof date, "%x", &local, user);
        strftime_l(time, sizeof time, "%X", &local, user);
        freelocale(user);
    } else {
        std::strftime(date, sizeof date, "%x", &local);
        std::strftime(time, sizeof time, "%X", &local);
    }
    const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
    return JoinDateTime(date, time, midnight);
}

}  // namespace kavrin
