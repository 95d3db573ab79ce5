// The user's decimal separator and the normalisation of number texts to it.
#pragma once

#include <string>

namespace kavrin {

// "," or "." : $KAVRIN_DECIMAL_SEPARATOR when it holds one of them, otherwise
// the radix character of the system locale (LC_NUMERIC), "." when that is unknown.
char SystemDecimalSeparator();

// Every "." becomes "," when the separator is ",", otherwise every "," becomes ".".
// Nothing else changes; the length stays the same.
std::string ArrumaDecimal(const std::string& test, char separator);

}  // namespace kavrin
