// q517-cli receive: the controller's program into a cam file, as Comm > Receive Sizes
// reads it.
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliTransferView.h"

#include "link/Identification.h"
#include "link/ProgramReception.h"
#include "model/CamFileWriter.h"

namespace {

int RunReceive(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("receive"),
    QStringLiteral("receive OUT.CAM (--port N | --device PATH) [--baud B]"),
    QStringLiteral("reads the controller's whole program and writes it to a cam file; nothing "
                   "is written unless the program came whole"),
    RunReceive});

int RunReceive(const QStringList& args) {
    CliDeviceArgs device;
    QString path;
    if (!ParseDeviceAndCamFile(args, QStringLiteral("receive"), &device, &path))
        return 2;

    CliDevice cli(device);
    Session& session = cli.session();
    // The program takes the controller's type: whatever it holds is what the file gets.
    if (IdentifyController(session) != IdentifyResult::Identified)
        return 1;
    session.program.Reconfigure(session.link.state.IdentCamCount,
                                session.link.state.IdentFormatCount, false);

    const TransferOutcome outcome = RunReception(session, CliTransferView(session));
    if (outcome != TransferOutcome::Completed ||
        ReadTransferFile(session) != TransferFileRead::Read) {
        cliErr() << "q517-cli: the program did not come whole; " << path << " not written\n";
        return 1;
    }
    FileWriteError error;
    if (!WriteCamFile(session.program, path, false, &error)) {
        cliErr() << "q517-cli: " << error.What << "\n";
        return 1;
    }
    cliErr() << "q517-cli: " << path << " written\n";
    return 0;
}

} // namespace
