// Rebuilding the model from the data window's texts.
#pragma once

#include "model/ModelState.h"
#include "model/ParameterTexts.h"

namespace kavrin {

// Converts the 21 texts (in the model's order), the source options' texts and
// ComboBox1 into `model` and derives velocity, dispersion, cell counts and
// source extents. A failure
// throws; what was stored before it stays stored.
void Variaveis(const ParameterTexts& texts, ModelState& model, char separator);

// The derived fields from the input fields, as Variaveis forms them (also
// after a fit has changed input fields).
void DeriveModelFields(ModelState& model);

// (a − b) / step rounded to the nearest integer, halves to even, as a double
// (the grid checks compare it with 450 without any integer overflow).
double CellCount(double from, double to, double step);

}  // namespace kavrin
