#include "text/SplitText.h"

namespace kavrin {

std::vector<std::string> SplitAt(const std::string& text, char mark)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(mark, start)) != std::string::npos; start = end + 1)
        pieces.push_back(text.substr(start, end - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

}  // namespace kavrin
