// q517-cli verify FILE.CAM: does the controller hold the program of this cam file?
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliDiffOutput.h"
#include "CliTransferView.h"

#include "compare/ControllerVerify.h"

namespace {

int RunVerify(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("verify"),
    QStringLiteral("verify FILE.CAM (--port N | --device PATH) [--baud B] [--json]"),
    QStringLiteral("receives the controller's program and compares it with a cam file (A = "
                   "file, B = controller); status 0 same, 1 different, 2 trouble"),
    RunVerify});

int RunVerify(const QStringList& args) {
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    CliDeviceArgs device;
    QString path;
    if (!ParseDeviceAndCamFile(rest, QStringLiteral("verify"), &device, &path))
        return 2;
    CamProgram expected;
    if (!CliReadCamFile(expected, path))
        return 2;

    CliDevice cli(device);
    Session& session = cli.session();
    const VerifyResult result = VerifyController(session, expected, CliTransferView(session));
    switch (result.Status) {
    case VerifyStatus::Compared:
        return PrintDiff(result.Diff, json);
    case VerifyStatus::NotIdentified:
    case VerifyStatus::OtherType:
        // The reason is already on standard error, worded as the program shows it.
        return 2;
    case VerifyStatus::NotReceived:
    case VerifyStatus::Broken:
        break;
    }
    cliErr() << "q517-cli: the controller's program did not come whole; nothing compared\n";
    return 2;
}

} // namespace
