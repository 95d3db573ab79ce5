// The texts the windows gained after the fit's lines: lines 165 on of the
// language files. Each has a built-in text in both languages, so a language
// file written before a line existed still gives every window its texts.
// New lines are appended just before End, never inserted: a line's number is
// its position in the files.
#pragma once

namespace kavrin {

enum class AddedText {
    First = 165,
    PorosityOutOfRange = 165,        // %1: the porosity field's caption
    ValueNegativeOrNotFinite = 166,  // %1: the field's caption
    ChartTimeWithoutResults = 167,   // %1: the time asked for a profile
    ChartNodeLine = 168,             // %1, %2: the node's x and y
    ChartLongitudinalLine = 169,     // %1: the time, %2: the line's y
    ChartTransversalLine = 170,      // %1: the time, %2: the line's x
    End,                             // one past the last line
};

constexpr int kFirstAddedTextLine = static_cast<int>(AddedText::First);
constexpr int kAddedTextLines = static_cast<int>(AddedText::End) - kFirstAddedTextLine;

// The built-in text of a line (UTF-8), in Portuguese or English.
const char* BuiltInAddedText(int line, bool portuguese);

}  // namespace kavrin
