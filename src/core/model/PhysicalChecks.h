// The physical checks a run makes before it writes anything: values no
// aquifer or source can have, which would otherwise end the run half-way with
// a floating-point fault or give numbers that mean nothing.
#pragma once

#include "model/ModelState.h"
#include "model/ParameterTexts.h"

#include <optional>
#include <string>

namespace kavrin {

enum class PhysicalRule {
    PorosityOutOfRange,  // not greater than 0 and at most 1
    NegativeOrNotFinite,
};

struct PhysicalRefusal {
    int edit;           // the data window's control Edit n
    const char* field;  // the ModelState field name
    PhysicalRule rule;
};

// The first field, in the data window's order, whose value is not physical:
// porosity outside (0, 1]; a source size, dispersivity, Kxx, GradH or
// retardation negative or not finite; a negative decay.
std::optional<PhysicalRefusal> CheckPhysics(const ModelState& model);

// The same for the data window's texts, before they become a model: porosity 0
// would stop the conversion itself with a division by zero. A text that does
// not convert is no physical refusal (the conversion names it).
std::optional<PhysicalRefusal> CheckPhysics(const ParameterTexts& texts, char separator);

// The English text of a refusal, naming the field, for the batch programs.
std::string EnglishPhysicalRefusalText(const PhysicalRefusal& refusal);

}  // namespace kavrin
