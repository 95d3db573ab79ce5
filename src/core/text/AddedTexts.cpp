#include "text/AddedTexts.h"

namespace kavrin {

namespace {

struct BuiltIn {
    const char* portuguese;
    const char* english;
};

// In AddedText's order. A trailing empty entry keeps the array valid while no
// line exists; it is never a line.
const BuiltIn kBuiltIn[kAddedTextLines + 1] = {
    {"", ""},
};

}  // namespace

const char* BuiltInAddedText(int line, bool portuguese)
{
    if (line < kFirstAddedTextLine || line >= kFirstAddedTextLine + kAddedTextLines) return "";
    const BuiltIn& text = kBuiltIn[line - kFirstAddedTextLine];
    return portuguese ? text.portuguese : text.english;
}

}  // namespace kavrin
