// Conversion of results files into Surfer 6 text grids and three-column text
// tables, for every time of a project's index or for one chosen file.
#pragma once

#include "model/ModelState.h"

#include <string>

namespace kavrin {

// Every "," becomes ".".
std::string PontoDecimal(const std::string& text);

// `only` = 1: `open` is an index file and each listed results file becomes
// save + "T" + time text + ".grd", the times T0, T0 + DT, … counted per index
// line; two times whose texts are equal (one output name) are refused with
// RunFilesRefusal before anything is written. Any other `only`: the results file `open` becomes save + ".grd".
// The header comes from `model` as it stands; a step that is not positive or
// a range of more than 450 cells throws CheckError before anything is written,
// and an empty `save` is a FileError. Each file replaces an earlier one only
// once it is complete. Throws FileError; files completed before a failure stay.
void GrdAsccreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator);

// The same for tables "x y value", one line per point (".txt").
void TxtTabcreate(const std::string& save, const std::string& open, int only, const ModelState& model, char separator);

}  // namespace kavrin
