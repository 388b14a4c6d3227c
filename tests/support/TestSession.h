#pragma once

#include "shell/LanguageScripts.h"
#include "shell/Session.h"
#include "support/AbsentSerialLine.h"
#include "support/EnglishTexts.h"
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

    // Language text n reads "T<n>" (see NumberTexts).
    void numberTexts() { NumberTexts(session.texts); }
    // The path of a file in the working directory.
    QString path(const QString& name) const { return dir.filePath(name); }
};
