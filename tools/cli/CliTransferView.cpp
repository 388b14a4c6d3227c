#include "CliTransferView.h"

#include "CliCommand.h"

TransferView CliTransferView(Session&) {
    TransferView view;
    view.showDirection = [](const QString& text) {
        cliErr() << text.trimmed() << "\n";
        cliErr().flush();
    };
    view.showFormat = [](const QString& text, int percent) {
        cliErr() << text.trimmed() << "  " << percent << "%\n";
        cliErr().flush();
    };
    return view;
}
