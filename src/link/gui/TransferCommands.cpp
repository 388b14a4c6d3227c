#include "link/gui/TransferCommands.h"

#include "link/ProgramReception.h"
#include "link/ProgramTransmission.h"
#include "link/gui/TransferWindow.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

TransferCommands::TransferCommands(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("TransferCommands"));
    connect(window.actions().c_Rcsz, &QAction::triggered, this, &TransferCommands::receiveSizes);
    connect(window.actions().C_Trsz, &QAction::triggered, this, &TransferCommands::transmitSizes);
}

void TransferCommands::receiveSizes() {
    Session& session = window_.session();
    const ReceiveSizesResult result = ReceiveSizes(session, window_.windowTitle(), [&] {
        TransferWindow transfer(session, "?FR", &window_);
        transfer.exec();
        return transfer.outcome();
    });
    if (result == ReceiveSizesResult::Received || result == ReceiveSizesResult::PartlyRead) {
        // The received program is shown from its first format.
        window_.redrawFormat();
    }
}

void TransferCommands::transmitSizes() {
    Session& session = window_.session();
    TransmitSizes(
        session, window_.windowTitle(), [this] { window_.actions().f_Save->trigger(); },
        [&] {
            TransferWindow transfer(session, "?FW", &window_);
            transfer.exec();
            return transfer.outcome();
        });
}
