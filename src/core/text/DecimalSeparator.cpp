#include "text/DecimalSeparator.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace kavrin {

char SystemDecimalSeparator()
{
    if (const char* forced = std::getenv("KAVRIN_DECIMAL_SEPARATOR")) {
        if (std::strcmp(forced, ",") == 0) return ',';
        if (std::strcmp(forced, ".") == 0) return '.';
    }
    char separator = '.';
    if (locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0))) {
        const char* radix = nl_langinfo_l(RADIXCHAR, user);
        if (radix && radix[0] == ',') separator = ',';
        freelocale(user);
    }
    return separator;
}

std::string ArrumaDecimal(const std::string& test, char separator)
{
    std::string result = test;
    if (separator == ',')
        std::replace(result.begin(), result.end(), '.', ',');
    else
        std::replace(result.begin(), result.end(), ',', '.');
    return result;
}

}  // namespace kavrin
