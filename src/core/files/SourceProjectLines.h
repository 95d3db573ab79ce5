// The source options as lines of a project file: the names of SourceTexts
// registered as the project's named lines, each with the form its value takes,
// and the passage between a file's named lines and the data window's texts.
#pragma once

#include "files/ProjectNamedLines.h"
#include "model/SourceOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The source's names in the order a project file stores them.
const std::vector<std::string>& SourceTextNames();

bool IsSourceTextName(const std::string& name);

// The numbers of a value "A B|C D|…" in groups, each group `perGroup` numbers
// apart by blanks, in either decimal separator; nothing when the value has
// another form (an empty group, a text that is not a number, another count).
std::optional<std::vector<std::vector<double>>> SourceValueGroups(const std::string& value, std::size_t perGroup);

// The lines a project file stores for the texts, in the texts' order.
NamedLines SourceNamedLines(const SourceTexts& texts);

// Takes the source's lines out of `lines` into texts, keeping their order.
SourceTexts TakeSourceTexts(NamedLines& lines);

// Gives `name` the value `value` in the texts: in place when it is there,
// otherwise at its place in the storing order. A half-life and a rate replace
// each other; the default history ("constant") is stored as no line.
void SetSourceText(SourceTexts& texts, const std::string& name, const std::string& value);

// Takes `name` back to its default: no line.
void RemoveSourceText(SourceTexts& texts, const std::string& name);

}  // namespace kavrin
