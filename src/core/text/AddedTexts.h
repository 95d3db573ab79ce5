// The texts the windows gained after the fit's lines: lines 165 on of the
// language files. Each has a built-in text in both languages, so a language
// file written before a line existed still gives every window its texts.
// New lines are appended just before End, never inserted: a line's number is
// its position in the files.
#pragma once

namespace kavrin {

enum class AddedText {
    First = 165,
    // The picture windows: a time refused before its data are loaded.
    TimeWithoutCompleteResults = 165,  // %1: the time
    AnimationFrameOf,                  // %1 of %2: the frame shown, the frames
    AnimationInterval,                 // %1: the interval in seconds
    // The charts: the line that says where and when a chart is.
    ChartNodeLine,          // %1, %2: the node's x and y
    ChartLongitudinalLine,  // %1: the time, %2: the line's y
    ChartTransversalLine,   // %1: the time, %2: the line's x
    // The checks before a run: %1 is the field's caption.
    PorosityOutOfRange,
    ValueNegativeOrNotFinite,
    End,  // one past the last line
};

constexpr int kFirstAddedTextLine = static_cast<int>(AddedText::First);
constexpr int kAddedTextLines = static_cast<int>(AddedText::End) - kFirstAddedTextLine;

// The built-in text of a line (UTF-8), in Portuguese or English.
const char* BuiltInAddedText(int line, bool portuguese);

}  // namespace kavrin
