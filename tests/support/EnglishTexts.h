#pragma once

#include "model/LanguageTexts.h"
#include "shell/LanguageScripts.h"
#include "shell/Session.h"

// The installed English script, for tests that read what the operator reads in English.
inline const LanguageTexts& EnglishTexts() {
    static const LanguageTexts texts = [] {
        LanguageTexts english;
        LanguageScripts::LoadReference(english);
        return english;
    }();
    return texts;
}

// One of the installed scripts ("q517_IT.SCR"), read as the program reads it.
inline LanguageTexts ScriptTexts(const QString& name) {
    LanguageTexts texts;
    LanguageScripts::Load(texts, DataPaths::Find(name, QString()));
    return texts;
}

// The installed Italian script, the language of a fresh installation, read once.
inline const LanguageTexts& ItalianTexts() {
    static const LanguageTexts texts = ScriptTexts(QStringLiteral("q517_IT.SCR"));
    return texts;
}

// Puts the English texts into a session built without a script, as the program's fallback
// shows them; true, so that a fixture can do it as a member's initializer.
template <typename WithTexts> bool SpeakEnglish(WithTexts& session) {
    session.texts = EnglishTexts();
    return true;
}

// Language text n reads "T<n>", so a test sees which text a message used; the program's own
// words (menus, status bar, line messages: 139..339) are the English script's, as an older
// script with the fallback shows them.
inline void NumberTexts(LanguageTexts& texts) {
    QByteArray script = "HEADER\r\n";
    for (int n = 2; n <= 500; ++n)
        script += n >= 139 && n <= 339 ? QByteArray("\"\"\r\n")
                                       : "\"T" + QByteArray::number(n) + "\"\r\n";
    script += "\r\n";
    texts.LoadFromBytes(script);
    texts.SetFallback(EnglishTexts());
}
