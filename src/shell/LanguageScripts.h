#pragma once

#include <QString>

class LanguageTexts;

// The operator's language: the script's texts, the English ones where the script has none,
// and the toolkit's own words (standard buttons, the file dialog) in the script's language.
namespace LanguageScripts {
// The script every other falls back to; it holds every text the program uses.
inline const char* const ReferenceScript = "q517_EN.SCR";

// Loads the script at path and takes the texts it lacks from the installed English script.
// False, with the reason in error, when the script cannot be read.
bool Load(LanguageTexts& texts, const QString& path, QString* error = nullptr);

// Loads the installed English script alone (the reference of every check).
bool LoadReference(LanguageTexts& texts);

// The texts of the script the options file in workDir names (q517's default when there is
// none), read without a word to the operator; the English ones when that script is found
// nowhere. For what speaks before the main window or without one.
void LoadOperatorTexts(LanguageTexts& texts, const QString& workDir);

// Puts the toolkit's translation for the language code in force in this process, in place
// of the one before; English, an empty code or a language without a translation leave the
// toolkit's own English. True when a translation was installed.
bool InstallToolkitTranslation(const QString& languageCode);
} // namespace LanguageScripts
