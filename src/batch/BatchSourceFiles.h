// The source's tables that kavrin-batch reads from CSV files: --steps (start
// time, relative concentration per line) and --zones (y, z, width, height,
// concentration per line, every zone), put into the data window's texts.
#pragma once

#include "model/ParameterTexts.h"

#include <string>
#include <vector>

namespace kavrin {

// Fields apart by ',' (or by ';', where ',' may then be the decimal separator);
// a first line without numbers is a heading, empty lines are passed over.
// Sets SourceSteps and the history "steps". Throws FileError, or
// FileFormatError naming the line and what is wrong.
void ApplyStepsFile(ParameterTexts& texts, const std::string& path, char separator);

// The first zone becomes C0, SourceWidth, SourceHeight and SourceCentre, the
// others SourceZones. Throws as ApplyStepsFile; more than 20 zones are refused.
void ApplyZonesFile(ParameterTexts& texts, const std::string& path, char separator);

// The rows of a CSV file of `columns` numbers each, read as the two tables
// above are; `layout` names them in messages ("(x, y, z)").
std::vector<std::vector<double>> ReadNumberRows(const std::string& path, std::size_t columns, const std::string& layout);

}  // namespace kavrin
