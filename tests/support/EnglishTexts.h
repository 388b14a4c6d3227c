#pragma once

#include "model/LanguageTexts.h"
#include "shell/LanguageScripts.h"

// The installed English script, for tests that read what the operator reads in English.
inline const LanguageTexts& EnglishTexts() {
    static const LanguageTexts texts = [] {
        LanguageTexts english;
        LanguageScripts::LoadReference(english);
        return english;
    }();
    return texts;
}
