#include "link/gui/TransferCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "link/Clock.h"
#include "link/LinkOutcome.h"
#include "link/ProgramReception.h"
#include "link/ProgramTransmission.h"
#include "link/gui/TransferWindow.h"
#include "shell/Session.h"

#include <QAction>

TransferCommands::TransferCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("TransferCommands"));
    connect(window.actions().c_Rcsz, &QAction::triggered, this, &TransferCommands::receiveSizes);
    connect(window.actions().C_Trsz, &QAction::triggered, this, &TransferCommands::transmitSizes);
}

QString TransferCommands::formatsIn(int64_t ms) const {
    const Session& session = window_.session();
    return QString::number(session.program.FormatCount()) + session.Text(255) +
           QString::number(double(ms) / 1000.0, 'f', 1) + session.Text(256);
}

void TransferCommands::receiveSizes() {
    Session& session = window_.session();
    int64_t ms = 0;
    Outcome transferred = Outcome::Done();
    const ReceiveSizesOutcome result = ReceiveSizes(
        session.linkContext(), session.program, session.edit, window_.windowTitle(), [&] {
            TransferWindow transfer(session, "?FR", window_.window());
            const int64_t start = session.clock.nowMs();
            transfer.exec();
            ms = session.clock.nowMs() - start;
            transferred = transfer.result();
            return transfer.outcome();
        });
    ShowOutcome(session.linkContext(), result.outcome);
    window_.refreshStatus();
    switch (result.result) {
    case ReceiveSizesResult::Received:
        window_.showResult(session.Text(257) + formatsIn(ms));
        break;
    case ReceiveSizesResult::PartlyRead:
        window_.showResult(session.Text(258));
        break;
    case ReceiveSizesResult::Unusable:
        window_.showResult(session.Text(259) + QStringLiteral(": ") + result.outcome.summary());
        break;
    case ReceiveSizesResult::NothingReceived:
        window_.showResult(
            session.Text(259) +
            (transferred.done() ? QString() : QStringLiteral(": ") + transferred.summary()));
        break;
    case ReceiveSizesResult::NotIdentified:
    case ReceiveSizesResult::OtherType:
        window_.showResult(session.Text(259) + QStringLiteral(": ") + result.outcome.summary());
        return;
    default:
        return;
    }
    // The received program is shown from its first format.
    if (result == ReceiveSizesResult::Received || result == ReceiveSizesResult::PartlyRead)
        window_.redrawFormat();
}

void TransferCommands::transmitSizes() {
    Session& session = window_.session();
    int64_t ms = 0;
    Outcome transferred = Outcome::Done();
    const TransmitSizesOutcome result = TransmitSizes(
        session.linkContext(), session.program, window_.windowTitle(),
        [this] { window_.actions().f_Save->trigger(); },
        [&] {
            TransferWindow transfer(session, "?FW", window_.window());
            const int64_t start = session.clock.nowMs();
            transfer.exec();
            ms = session.clock.nowMs() - start;
            transferred = transfer.result();
            return transfer.outcome();
        });
    ShowOutcome(session.linkContext(), result.outcome);
    window_.refreshStatus();
    switch (result.result) {
    case TransmitSizesResult::Sent:
        window_.showResult(session.Text(260) + formatsIn(ms));
        window_.announceTransmitted();
        break;
    case TransmitSizesResult::NotSent:
        window_.showResult(session.Text(261) +
                           (transferred.holds == Outcome::Holds::IncompleteProgram
                                ? QStringLiteral(": ") + session.Text(340)
                                : QString()));
        break;
    case TransmitSizesResult::NotIdentified:
    case TransmitSizesResult::OtherType:
        window_.showResult(session.Text(263) + QStringLiteral(": ") + result.outcome.summary());
        break;
    case TransmitSizesResult::Cancelled:
        break;
    }
}
