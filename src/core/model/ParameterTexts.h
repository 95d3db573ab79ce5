// The data window's 22 texts (the master copy of the parameters), the table that
// ties each control to its model field, and the text rules of the data window.
#pragma once

#include "model/ModelState.h"
#include "model/SitePlacement.h"

#include <array>
#include <optional>
#include <string>

namespace kavrin {

// edit[n] is the text of Edit n (n = 1 … 21); edit[0] is unused.
struct ParameterTexts {
    std::array<std::string, 22> edit;
    std::string comboBox1;
    SourceTexts source;       // the source options, as the source window and a project file give them
    SitePlacementTexts site;  // where the grid lies on the site map, as the export window and a project file give it
};

struct ParameterField {
    int edit;           // the control Edit n
    const char* field;  // the ModelState field name
    double ModelState::*member;
    const char* initialText;
    const char* newProjectText;
};

// In the order the model takes them: Edit1 … Edit7, Edit10, Edit8, Edit9,
// Edit11 … Edit16, Edit18, Edit19, Edit20, Edit17, Edit21.
extern const std::array<ParameterField, 21> kParameterFields;

const ParameterField& FieldOfEdit(int edit);

// The texts the data window holds when it is created.
ParameterTexts InitialParameterTexts();

// A control named "Edit1"…"Edit21" or "ComboBox1", or a field name such as
// "DX" or "GaussOrder": the edit number, 0 for ComboBox1, nothing when unknown.
std::optional<int> ControlOfName(const std::string& name);

// Assigns a control's text as a loader or the user would: only a text that
// differs counts as a change, and a change of Edit8 or Edit10 filters the text
// and mirrors the Y pair about y = 0 until it settles. Edit 0 is ComboBox1.
void SetControlText(ParameterTexts& texts, int edit, const std::string& text, char separator);

// The change handlers alone, for a control whose text has just changed:
// Edit8 and Edit10 filter their text and mirror the Y pair until it settles.
void ControlTextChanged(ParameterTexts& texts, int edit, char separator);

// Leaving an edit box: empty becomes "0", the separator is normalised and the
// control's field is converted and stored (the derived fields are not touched).
void ApplyExitRule(ParameterTexts& texts, int edit, ModelState& model, char separator);

// Normalises the separator of all 21 edit texts.
void ArrumaCampos(ParameterTexts& texts, char separator);

// The Y pair's text filters: only digits for Y1; digits and one leading "-" for Y0.
std::string FilterY1Text(const std::string& text);
std::string FilterY0Text(const std::string& text);

}  // namespace kavrin
