// The two stored settings, "Config" and "Language": a machine-wide INI file
// when it can be written, otherwise the user's own; reads prefer the user's
// value. $KAVRIN_SETTINGS_DIR puts both files in one folder (for tests).
// The typed accessors below are the program's way in; the stored names and
// texts stay those of the two values.
#pragma once

#include "map/MapOptions.h"

#include <QString>

#include <optional>

namespace kavrin {

// The program's two languages.
enum class Language { Portuguese, English };

// What happens to a project's data when its results are replaced or the
// program closes: the stored "Config" texts "0", "1" and "2".
enum class DataHandling { SaveAll = 0, DeleteAll = 1, Ask = 2 };

// The stored text of the value named `valueName` under the key `keyName`,
// "" when it is missing. The program keeps one key, "Software\KAVRIN" (a
// trailing backslash names the same key); any other key is a missing one.
// Throws KavrinError "Invalid data type for '%s'" when the stored value is
// not a text, FileError when a settings file is not a regular file.
QString GetRegistryValue(const QString& keyName, const QString& valueName);

// Stores `text` as the value named `valueName`. Throws KavrinError
// "Failed to set data for '%s'" when no store can be written, FileError when
// a settings file is not a regular file.
void GravaRegistro(const QString& valueName, const QString& text);

// The stored language: "Port" or "English", exactly; nothing for a missing
// value or any other text.
std::optional<Language> StoredLanguage();
// The language the program uses: English only when stored as English.
Language ChosenLanguage();
void StoreLanguage(Language language);

// The stored "Config"; a missing, non-numeric or unknown value asks.
DataHandling StoredDataHandling();
void StoreDataHandling(DataHandling handling);

// The languages of the map's two texts: the title is Portuguese only when
// Portuguese is stored explicitly; the scale's caption follows `captionLanguage`
// (the language applied in the desktop program, the chosen one in the batch tool).
struct MapTextLanguages {
    bool titleInPortuguese;
    bool captionInPortuguese;
};
MapTextLanguages MapTextLanguagesFor(Language captionLanguage);

// The map's report options (the stored "MapOptions" text); the defaults when
// nothing or nothing readable is stored, or the settings cannot be read.
MapOptions StoredMapOptions();
void StoreMapOptions(const MapOptions& options);

// The two files, machine-wide first.
QString MachineSettingsFile();
QString UserSettingsFile();

}  // namespace kavrin
