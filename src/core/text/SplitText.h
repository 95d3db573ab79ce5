// A text cut at every occurrence of a mark.
#pragma once

#include <string>
#include <vector>

namespace kavrin {

// The pieces between the marks, empty ones kept: "a||b" gives a, "", b; "" gives one empty piece.
std::vector<std::string> SplitAt(const std::string& text, char mark);

}  // namespace kavrin
