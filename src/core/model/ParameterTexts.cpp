#include "model/ParameterTexts.h"

#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <cmath>
#include <stdexcept>

namespace kavrin {

const std::array<ParameterField, 21> kParameterFields = {{
    {1, "C0", &ModelState::C0, "0.5", "1000"},
    {2, "SourceWidth", &ModelState::SourceWidth, "20", "50"},
    {3, "SourceHeight", &ModelState::SourceHeight, "3", "50"},
    {4, "PlaneZ", &ModelState::PlaneZ, "0", "0"},
    {5, "X0", &ModelState::X0, "0", "0"},
    {6, "X1", &ModelState::X1, "100", "500"},
    {7, "DX", &ModelState::DX, "1", "5"},
    {10, "Y0", &ModelState::Y0, "-30", "-200"},
    {8, "Y1", &ModelState::Y1, "30", "200"},
    {9, "DY", &ModelState::DY, "1", "5"},
    {11, "T0", &ModelState::T0, "0", "80"},
    {12, "T1", &ModelState::T1, "2500", "100"},
    {13, "DT", &ModelState::DT, "2500", "20"},
    {14, "AlphaX", &ModelState::AlphaX, "1", "1"},
    {15, "AlphaY", &ModelState::AlphaY, "0.2", "0.2"},
    {16, "AlphaZ", &ModelState::AlphaZ, "0.2", "0.2"},
    {18, "Kxx", &ModelState::Kxx, "0.5", "0.5"},
    {19, "GradH", &ModelState::GradH, "0.01", "0.01"},
    {20, "Retardation", &ModelState::Retardation, "1", "1"},
    {17, "Porosity", &ModelState::Porosity, "0.2", "0.2"},
    {21, "Decay", &ModelState::Decay, "0.00002", "0.00002"},
}};

const ParameterField& FieldOfEdit(int edit)
{
    for (const ParameterField& field : kParameterFields)
        if (field.edit == edit) return field;
    throw std::out_of_range("no parameter control Edit" + std::to_string(edit));
}

ParameterTexts InitialParameterTexts()
{
    ParameterTexts texts;
    for (const ParameterField& field : kParameterFields) texts.edit[field.edit] = field.initialText;
    texts.comboBox1 = "60";
    return texts;
}

std::optional<int> ControlOfName(const std::string& name)
{
    if (name == "ComboBox1" || name == "GaussOrder") return 0;
    for (const ParameterField& field : kParameterFields)
        if (name == field.field || name == "Edit" + std::to_string(field.edit)) return field.edit;
    return std::nullopt;
}

std::string FilterY1Text(const std::string& text)
{
    std::string kept;
    for (char c : text)
        if (c >= '0' && c <= '9') kept.push_back(c);
    return kept;
}

std::string FilterY0Text(const std::string& text)
{
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c == '-' && kept.empty())) kept.push_back(c);
    return kept;
}

namespace {

void onTextChanged(ParameterTexts& texts, int edit, char separator);

// A control takes a text only when it differs; the change then runs its handler.
void assign(ParameterTexts& texts, int edit, const std::string& text, char separator)
{
    std::string& current = edit == 0 ? texts.comboBox1 : texts.edit[static_cast<std::size_t>(edit)];
    if (current == text) return;
    current = text;
    onTextChanged(texts, edit, separator);
}

void onTextChanged(ParameterTexts& texts, int edit, char separator)
{
    if (edit == 8 && !texts.edit[8].empty()) {
        assign(texts, 8, FilterY1Text(texts.edit[8]), separator);
        if (!texts.edit[8].empty()) assign(texts, 10, "-" + texts.edit[8], separator);
    } else if (edit == 10 && !texts.edit[10].empty()) {
        assign(texts, 10, FilterY0Text(texts.edit[10]), separator);
        const std::string& y0 = texts.edit[10];
        if (!y0.empty() && y0 != "-") assign(texts, 8, FormatGeneral(std::fabs(ParseFloat(y0, separator)), separator), separator);
    }
}

}  // namespace

void SetControlText(ParameterTexts& texts, int edit, const std::string& text, char separator)
{
    assign(texts, edit, text, separator);
}

void ControlTextChanged(ParameterTexts& texts, int edit, char separator)
{
    onTextChanged(texts, edit, separator);
}

void ApplyExitRule(ParameterTexts& texts, int edit, ModelState& model, char separator)
{
    const std::string& current = texts.edit[static_cast<std::size_t>(edit)];
    if (current.empty()) SetControlText(texts, edit, "0", separator);
    SetControlText(texts, edit, ArrumaDecimal(texts.edit[static_cast<std::size_t>(edit)], separator), separator);
    model.*FieldOfEdit(edit).member = ParseFloat(texts.edit[static_cast<std::size_t>(edit)], separator);
}

void ArrumaCampos(ParameterTexts& texts, char separator)
{
    for (int edit = 1; edit <= 21; ++edit)
        SetControlText(texts, edit, ArrumaDecimal(texts.edit[static_cast<std::size_t>(edit)], separator), separator);
}

}  // namespace kavrin
