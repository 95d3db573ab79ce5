#include "model/PhysicalChecks.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <cmath>

namespace kavrin {

namespace {

struct CheckedField {
    int edit;
    const char* field;
    double ModelState::*member;
    const char* englishName;
};

// In the data window's order. Zero stays allowed where the model has a meaning
// for it (a retardation below 1 is taken as none, a zero decay is no decay).
const CheckedField kNonNegative[] = {
    {2, "SourceWidth", &ModelState::SourceWidth, "source width in Y"},
    {3, "SourceHeight", &ModelState::SourceHeight, "source height in Z"},
    {14, "AlphaX", &ModelState::AlphaX, "dispersivity in X"},
    {15, "AlphaY", &ModelState::AlphaY, "dispersivity in Y"},
    {16, "AlphaZ", &ModelState::AlphaZ, "dispersivity in Z"},
    {18, "Kxx", &ModelState::Kxx, "hydraulic conductivity Kxx"},
    {19, "GradH", &ModelState::GradH, "hydraulic gradient in X"},
    {20, "Retardation", &ModelState::Retardation, "retardation factor"},
};
const CheckedField kPorosity{17, "Porosity", &ModelState::Porosity, "effective porosity"};
const CheckedField kDecay{21, "Decay", &ModelState::Decay, "decay rate"};

bool nonNegative(double value)
{
    return std::isfinite(value) && value >= 0;
}

const CheckedField& fieldOf(const PhysicalRefusal& refusal)
{
    for (const CheckedField& field : kNonNegative)
        if (field.edit == refusal.edit) return field;
    return refusal.edit == kPorosity.edit ? kPorosity : kDecay;
}

}  // namespace

std::optional<PhysicalRefusal> CheckPhysics(const ModelState& model)
{
    for (const CheckedField& field : kNonNegative)
        if (!nonNegative(model.*field.member)) return PhysicalRefusal{field.edit, field.field, PhysicalRule::NegativeOrNotFinite};
    if (!(model.Porosity > 0 && model.Porosity <= 1))
        return PhysicalRefusal{kPorosity.edit, kPorosity.field, PhysicalRule::PorosityOutOfRange};
    if (!nonNegative(model.Decay)) return PhysicalRefusal{kDecay.edit, kDecay.field, PhysicalRule::NegativeOrNotFinite};
    return std::nullopt;
}

std::optional<PhysicalRefusal> CheckPhysics(const ParameterTexts& texts, char separator)
{
    ModelState model;
    for (const ParameterField& field : kParameterFields) {
        model.*field.member = 1;  // passes every check
        try {
            model.*field.member =
                ParseFloat(ArrumaDecimal(texts.edit[static_cast<std::size_t>(field.edit)], separator), separator);
        } catch (const ConversionError&) {
        }
    }
    return CheckPhysics(model);
}

std::string EnglishPhysicalRefusalText(const PhysicalRefusal& refusal)
{
    const CheckedField& field = fieldOf(refusal);
    const std::string name = std::string(field.field) + " (" + field.englishName + ")";
    if (refusal.rule == PhysicalRule::PorosityOutOfRange)
        return "The " + name + " must be greater than 0 and not greater than 1. Enter a porosity in (0, 1].";
    return "The " + name + " must be a finite number not less than 0. Enter a value of 0 or more.";
}

}  // namespace kavrin
