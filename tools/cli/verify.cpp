// q517-cli verify FILE.CAM: does the controller hold the program of this cam file?
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliDiffOutput.h"
#include "CliLine.h"
#include "CliTransferProgress.h"

#include "compare/ControllerVerify.h"
#include "production/LineJobs.h"
#include "production/TargetPrompts.h"

#include <QTemporaryDir>

namespace {

int RunVerify(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("verify"),
    QStringLiteral("verify FILE.CAM (--port N | --ports 3-8,12 | --device PATH)... [--baud B] "
                   "[--json | --report FILE.json]"),
    QStringLiteral("receives the controller's program and compares it with a cam file (A = "
                   "file, B = controller); status 0 same, 1 different, 2 trouble"),
    RunVerify});

// Several controllers at once: each receives into a working directory of its own, so that
// no two receptions write one transfer file.
int verifyLine(const LineArgs& line, const QString& path) {
    CamProgram expected;
    if (!CliReadCamFile(expected, path))
        return 2;
    const QString workDir = CliWorkDir();
    const PortMap::NetworkPorts network = CliNetworkPorts();
    return RunLine(QStringLiteral("verify"), path, line, [&](TargetContext& context) {
        TargetPrompts prompts(line.yes);
        CliDeviceArgs device = DeviceArgsFor(context.target(), line);
        device.device = context.target().devicePath(workDir, network);
        QTemporaryDir own;
        CliDevice cli(device, prompts, own.path());
        Session& session = cli.session();
        return VerifyProgramJob(session.linkContext(), session.program, prompts, context, expected);
    });
}

int RunVerify(const QStringList& args) {
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    LineArgs line;
    QString problem;
    if (!json && ParseLineArgs(rest, true, &line, &problem) &&
        (line.targets.size() > 1 || !line.report.isEmpty())) {
        if (line.rest.size() != 1 || line.rest.first().startsWith(QLatin1String("--")))
            return cliUsageError(CliCommands().at(QStringLiteral("verify")),
                                 QStringLiteral("one cam file"));
        return verifyLine(line, line.rest.first());
    }
    CliDeviceArgs device;
    QString path;
    if (!ParseDeviceAndCamFile(rest, QStringLiteral("verify"), &device, &path))
        return 2;
    CamProgram expected;
    if (!CliReadCamFile(expected, path))
        return 2;

    CliDevice cli(device);
    Session& session = cli.session();
    CliTransferProgress progress(session);
    const VerifyResult result =
        VerifyController(session.linkContext(), session.program, expected, progress);
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
