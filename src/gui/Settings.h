// The two stored settings, "Config" and "Language": a machine-wide INI file
// when it can be written, otherwise the user's own; reads prefer the user's
// value. $KAVRIN_SETTINGS_DIR puts both files in one folder (for tests).
#pragma once

#include <QString>

namespace kavrin {

// The stored text of a value, "" when it is missing. Throws KavrinError
// "Invalid data type for '%s'" when the stored value is not a text.
QString GetRegistryValue(const QString& keyName, const QString& registro);

// Stores `endereco` as the value named `valor`. Throws KavrinError
// "Failed to set data for '%s'" when no store can be written.
void GravaRegistro(const QString& valor, const QString& endereco);

// Whether the stored language is English (the value "English", exactly);
// anything else, a missing value included, means Portuguese.
bool EnglishChosen();

// The two files, machine-wide first.
QString MachineSettingsFile();
QString UserSettingsFile();

}  // namespace kavrin
