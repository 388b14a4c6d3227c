#pragma once

#include "dialogs/CommonDialog.h"
#include "link/Clock.h"
#include "link/QtSerialLine.h"
#include "shell/Options.h"
#include "shell/Session.h"
#include "support/FakeCommonDialog.h"
#include "support/FakePrompts.h"
#include "support/SimProcess.h"

#include <QString>
#include <QStringList>

// A main window's desk on q517-sim in an end-to-end test: the simulator on port 9 of workDir
// (simArguments follow "--workdir DIR --port 9"), fake prompts and file dialog for the
// operator, the real clock and serial line, and a session working in workDir whose options
// file names port 9 and the English script.
struct SimDesk {
    SimDesk(const QString& workDir, const QStringList& simArguments)
        : sim(QStringList{QStringLiteral("--workdir"), workDir, QStringLiteral("--port"),
                          QStringLiteral("9")} +
              simArguments),
          dialog(dialogs), session(prompts, clock, dialog, line, workDir) {
        Options options;
        options.PortNumber = 9;
        options.LanguageFile = QStringLiteral("q517_EN.SCR");
        optionsWritten = options.WriteOptionsFile(workDir);
    }

    SimProcess sim;
    FakePrompts prompts;
    SystemClock clock;
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog;
    QtSerialLine line;
    Session session;
    bool optionsWritten = false;
};
