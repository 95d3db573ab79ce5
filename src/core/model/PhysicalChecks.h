// The physical checks of the parameters before a run: values no aquifer or
// source can have are refused by field, before anything is computed or written.
#pragma once

#include "model/ParameterTexts.h"

#include <optional>
#include <string>

namespace kavrin {

enum class PhysicalRule {
    PorosityOutOfRange,  // the effective porosity must lie in (0, 1]
    NegativeOrNotFinite, // a size, dispersivity, conductivity, gradient, retardation or decay below 0, or not finite
};

struct PhysicalRefusal {
    int edit;           // the control Edit n that holds the value
    const char* field;  // its ModelState field name
    PhysicalRule rule;
};

// The first field, in the order the model takes them, whose value is
// physically impossible. A text that is not a number is left to the
// conversion, which names it.
std::optional<PhysicalRefusal> CheckPhysics(const ParameterTexts& texts, char separator);

// The English text of a refusal, naming the field, for the headless tools.
std::string EnglishPhysicalRefusalText(const PhysicalRefusal& refusal);

// For the headless tools: throws a CheckError with the English text of the
// first refusal, if any.
void RefuseImpossiblePhysics(const ParameterTexts& texts, char separator);

}  // namespace kavrin
