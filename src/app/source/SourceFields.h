// The source texts as the source window's controls hold them: one text per
// value and per table cell, and the way between them and the "Name=value"
// texts a project file stores.
#pragma once

#include "model/SourceTextRules.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

struct SourceFields {
    SourceHistory history = SourceHistory::Constant;
    bool halfLife = false;  // the decay given as a half-life, not a rate
    std::string decay, releaseEnd;
    std::vector<std::array<std::string, 2>> steps;  // start, relative
    std::string centreY = "0", centreZ = "0";       // the first zone's centre
    std::vector<std::array<std::string, 5>> zones;  // zones 2 … : y, z, width, height, concentration
    std::string controlPlane;                       // empty: none
};

// The fields of texts (checked ones: a value the window has no place for is left out).
SourceFields FieldsOfTexts(const SourceTexts& texts);

struct ComposedSourceTexts {
    SourceTexts texts;
    // A value that cannot be written as a text: empty, or holding a blank
    // or '|' that would split it (groups numbered as CheckSourceTexts does).
    std::optional<SourceRefusal> refusal;
};

// The texts of the fields, in the order a project file stores them, numbers
// with `separator`; values at their default (constant history, centre 0 0,
// no control plane) are not written.
ComposedSourceTexts TextsOfFields(const SourceFields& fields, char separator);

}  // namespace kavrin
