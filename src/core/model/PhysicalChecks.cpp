#include "model/PhysicalChecks.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>

namespace kavrin {

namespace {

// The fields a value below zero makes meaningless. A retardation between 0
// and 1 is taken as no retardation by the velocity, so only below 0 is refused.
constexpr int kNonNegativeEdits[] = {2, 3, 14, 15, 16, 18, 19, 20, 21};
constexpr int kPorosityEdit = 17;

bool isNonNegativeEdit(int edit)
{
    for (int each : kNonNegativeEdits)
        if (each == edit) return true;
    return false;
}

}  // namespace

std::optional<PhysicalRefusal> CheckPhysics(const ParameterTexts& texts, char separator)
{
    for (const ParameterField& field : kParameterFields) {
        const bool porosity = field.edit == kPorosityEdit;
        if (!porosity && !isNonNegativeEdit(field.edit)) continue;
        double value = 0;
        try {
            value = ParseFloat(ArrumaDecimal(texts.edit[static_cast<std::size_t>(field.edit)], separator), separator);
        } catch (const ConversionError&) {
            continue;
        }
        if (porosity && !(value > 0 && value <= 1)) return PhysicalRefusal{field.edit, field.field, PhysicalRule::PorosityOutOfRange};
        if (!porosity && !(std::isfinite(value) && value >= 0))
            return PhysicalRefusal{field.edit, field.field, PhysicalRule::NegativeOrNotFinite};
    }
    return std::nullopt;
}

std::string EnglishPhysicalRefusalText(const PhysicalRefusal& refusal)
{
    const std::string name = refusal.field;
    if (refusal.rule == PhysicalRule::PorosityOutOfRange)
        return "The effective porosity " + name + " must be greater than 0 and at most 1.";
    return "The field " + name + " must be a finite number of 0 or more.";
}

void RefuseImpossiblePhysics(const ParameterTexts& texts, char separator)
{
    if (const auto refusal = CheckPhysics(texts, separator)) throw CheckError(EnglishPhysicalRefusalText(*refusal));
}

}  // namespace kavrin
