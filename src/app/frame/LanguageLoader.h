// Applies a language file: 125 lines, each given by its position to the
// controls and message slots of the line table.
#pragma once

#include "frame/AppState.h"

#include <QString>
#include <QStringList>

namespace kavrin {

// Applies the language's file. Sets PortugueseActive first; a file that
// cannot be opened throws FileError and changes no text.
void LoadLanguage(AppState& app, Language language);

// Gives one line's text to every target of that line, in the table's order.
void ApplyLanguageLine(AppState& app, int line, const QString& text);

// The targets of the line table that the windows do not hold (the loader
// passes over them), each as "line N: window control"; empty when every line
// finds its controls.
QStringList LanguageTargetsNotFound(const AppState& app);

}  // namespace kavrin
