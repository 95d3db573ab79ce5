// Qt's own texts (standard buttons, file dialogs) in the program's language.
#pragma once

namespace kavrin {

// Portuguese: installs Qt's Brazilian Portuguese translations (Debian
// qt6-translations-l10n); otherwise removes them, so Qt speaks English.
// Returns false when the translations are not installed.
bool UseQtTranslations(bool portuguese);

}  // namespace kavrin
