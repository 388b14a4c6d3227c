#pragma once

#include "production/TargetPrompts.h"
#include "shell/Session.h"
#include "support/EnglishTexts.h"
#include "support/FakeClock.h"
#include "support/FakeCommonDialog.h"
#include "support/FakeController.h"
#include "support/TransferControllerScript.h"

#include <QFile>
#include <QTemporaryDir>

#include <optional>

// One controller of a production line, scripted, with a Session of its own (its own clock,
// line and prompts) as a line job builds it on its thread. Language text n reads "T<n>".
struct FakeLineTarget {
    enum class Kind {
        Good,          // a C24-06 that confirms every frame
        Silent,        // answers nothing at all
        OtherType,     // a C8-21 for a C24-06 program
        RefusesFrames, // identifies, then answers every frame with NAK
    };

    FakeClock clock;
    TargetPrompts prompts{false};
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    QTemporaryDir dir;
    FakeController controller{clock};
    Session session{prompts, clock, dialog, controller, dir.path()};
    const bool inEnglish = SpeakEnglish(session);
    std::optional<TransferControllerScript> script;

    explicit FakeLineTarget(Kind kind) {
        const QString device = dir.filePath(QStringLiteral("tty"));
        QFile(device).open(QIODevice::WriteOnly);
        session.link.state.DeviceOverride = device;
        session.options.BaudRate = QStringLiteral("9600");
        NumberTexts(session.texts);
        session.program.Reconfigure(24, 6, false);
        switch (kind) {
        case Kind::Good:
            script.emplace(controller, 24, 6);
            script->acknowledgeFrames();
            break;
        case Kind::Silent:
            break;
        case Kind::OtherType:
            script.emplace(controller, 8, 21);
            script->acknowledgeFrames();
            break;
        case Kind::RefusesFrames:
            script.emplace(controller, 24, 6);
            controller.whenFrame(FakeController::nak());
            break;
        }
    }
};
