#pragma once

#include "shell/Session.h"
#include "support/EnglishTexts.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialog.h"
#include "support/FakeController.h"
#include "support/FakePrompts.h"
#include "support/RecordingProgressObserver.h"
#include "support/TransferControllerScript.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

// A Session on a scripted controller of one type, with one clock for both, language text n
// reading "T<n>" (the program's own words 139..339 in English, as TestSession has them), and
// a progress observer that records what the transfer told it.
struct TransferFixture {
    FakeClock clock;
    FakePrompts prompts;
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    QTemporaryDir dir;
    FakeController controller{clock};
    Session session{prompts, clock, dialog, controller, dir.path()};
    const bool inEnglish = SpeakEnglish(session);
    TransferControllerScript script;

    RecordingProgressObserver progress;

    TransferFixture(int cams, int formats, int controllerCams = 0, int controllerFormats = 0)
        : script(controller, controllerCams ? controllerCams : cams,
                 controllerFormats ? controllerFormats : formats) {
        const QString device = dir.filePath(QStringLiteral("tty"));
        QFile f(device);
        f.open(QIODevice::WriteOnly);
        session.link.state.DeviceOverride = device;
        session.options.BaudRate = QStringLiteral("9600");
        NumberTexts(session.texts);
        session.program.Reconfigure(cams, formats, false);
    }

    QString transferFilePath() const { return dir.filePath(QStringLiteral("__.__")); }
    QByteArray transferFile() const {
        QFile f(transferFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeTransferFile(const QByteArray& bytes) const {
        QFile f(transferFilePath());
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    // The program's phases of one cam as "on-off" pairs, for short comparisons.
    QString phases(int format, int cam) const {
        QStringList out;
        for (const Phase& p : session.program.ListPhases(format, cam))
            out << QStringLiteral("%1-%2").arg(p.On).arg(p.Off);
        return out.join(QLatin1Char(' '));
    }
};
