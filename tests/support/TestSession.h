#pragma once

#include "shell/LanguageScripts.h"
#include "shell/Session.h"
#include "support/AbsentSerialLine.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialog.h"
#include "support/FakePrompts.h"

#include <QTemporaryDir>

// A Session built of fakes in a fresh working directory, for one test.
struct TestSession {
    QTemporaryDir dir;
    FakePrompts prompts;
    FakeClock clock;
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    AbsentSerialLine absentLine;
    Session session;

    explicit TestSession(SerialLine* line = nullptr)
        : session(prompts, clock, dialog, line ? *line : absentLine, dir.path()) {
        // The program's start-up gives the shared dialog room for 2048-character paths.
        dialog.setMaxFileSize(2048);
        numberTexts();
    }

    // Language text n reads "T<n>", so a test sees which text a message used; the program's
    // own words (menus, status bar, line messages: 139..339) are the English script's, as an
    // older script with the fallback shows them.
    void numberTexts() {
        QByteArray script = "HEADER\r\n";
        for (int n = 2; n <= 500; ++n)
            script += n >= 139 && n <= 339 ? QByteArray("\"\"\r\n")
                                           : "\"T" + QByteArray::number(n) + "\"\r\n";
        script += "\r\n";
        session.texts.LoadFromBytes(script);
        LanguageTexts english;
        if (LanguageScripts::LoadReference(english))
            session.texts.SetFallback(english);
    }
    // The path of a file in the working directory.
    QString path(const QString& name) const { return dir.filePath(name); }
};
