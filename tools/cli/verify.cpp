// q517-cli verify FILE.CAM: does the controller hold the program of this cam file?
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliDiffOutput.h"
#include "CliLine.h"
#include "CliTransferProgress.h"
#include "model/LanguageTexts.h"

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
    [] { return CliTexts().Text(160); }, RunVerify});

int RunVerify(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("verify"));
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    LineArgs line;
    QString problem;
    if (!ParseLineArgs(rest, true, CliTexts(), &line, &problem))
        return cliUsageError(self, problem);
    if (line.rest.size() != 1 || line.rest.first().startsWith(QLatin1String("--")))
        return cliUsageError(self,
                             line.rest.isEmpty() ? CliTexts().Text(561) : CliTexts().Text(562));
    const bool one = line.targets.size() == 1;
    if (json && (!one || !line.report.isEmpty()))
        return cliUsageError(self, CliTexts().Text(588));
    const QString path = line.rest.first();
    CamProgram expected;
    if (CliReadCamFile(expected, path) != 0)
        return 2;

    // A line of one receives in the working directory, as any reception does; several each
    // receive into a directory of their own, so that no two write one transfer file.
    const QString workDir = CliWorkDir();
    const PortMap::NetworkPorts network = CliNetworkPorts();
    VerifyResult verified;
    // Without --report a line of one prints its differences instead of the summary table.
    const bool differencesOnly = one && line.report.isEmpty();
    const int status = RunLine(
        QStringLiteral("verify"), path, line,
        [&](TargetContext& context) {
            TargetPrompts prompts(line.yes);
            QTemporaryDir own;
            CliDeviceArgs device = DeviceArgsFor(context.target(), line);
            // The port map is the working directory's, wherever the reception writes.
            if (context.target().port > 0)
                device.device = context.target().devicePath(workDir);
            CliDevice cli(device, prompts, one ? workDir : own.path());
            Session& session = cli.session();
            CliTransferProgress echo(session);
            return VerifyProgramJob(session.linkContext(), session.program, prompts, context,
                                    expected, one ? &verified : nullptr, one ? &echo : nullptr);
        },
        differencesOnly);
    if (differencesOnly && verified.Status == VerifyStatus::Compared)
        PrintDiff(verified.Diff, json);
    return status;
}

} // namespace
