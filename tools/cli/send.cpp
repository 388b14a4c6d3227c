// q517-cli send: a cam file into the controller, as Comm > Transmit Sizes sends it.
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliTransferView.h"

#include "link/ProgramTransmission.h"
#include "model/CamFileReader.h"

namespace {

int RunSend(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("send"), QStringLiteral("send FILE.CAM (--port N | --device PATH) [--baud B]"),
    QStringLiteral("sends the program of a cam file to a controller of its type; exits 0 only "
                   "when the controller confirmed every frame"),
    RunSend});

int RunSend(const QStringList& args) {
    CliDeviceArgs device;
    QString path;
    if (!ParseDeviceAndCamFile(args, QStringLiteral("send"), &device, &path))
        return 2;

    CliDevice cli(device);
    Session& session = cli.session();
    const CamReadResult read = ReadCamFile(session.program, path);
    if (!read.ok()) {
        cliErr() << "q517-cli: " << path << ": ";
        if (read.status == CamReadResult::Status::Missing)
            cliErr() << "no such file";
        else if (read.status == CamReadResult::Status::Unreadable)
            cliErr() << read.error.Reason;
        else
            cliErr() << "line " << read.error.LineNumber << " \"" << read.error.Line
                     << "\": " << read.error.Reason;
        cliErr() << "\n";
        return 1;
    }
    session.program.CurrentFileName = path;

    const TransmitSizesResult result =
        TransmitSizes(session, QStringLiteral("q517-cli"), nullptr,
                      [&] { return RunTransmission(session, CliTransferView(session)); });
    if (result != TransmitSizesResult::Sent)
        return 1;
    cliErr() << "q517-cli: " << path << " sent\n";
    return 0;
}

} // namespace
