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

// Puts the English texts into a session built without a script, as the program's fallback
// shows them; true, so that a fixture can do it as a member's initializer.
template <typename WithTexts> bool SpeakEnglish(WithTexts& session) {
    session.texts = EnglishTexts();
    return true;
}
