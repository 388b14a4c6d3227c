// q517-cli send: a cam file into the controller, as Comm > Transmit Sizes sends it; into
// several controllers at once as a production line.
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliLine.h"
#include "CliTransferProgress.h"

#include "link/Identification.h"
#include "link/ProgramTransmission.h"
#include "model/CamFileReader.h"
#include "production/LineJobs.h"
#include "production/TargetPrompts.h"

namespace {

int RunSend(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("send"),
    QStringLiteral("send FILE.CAM (--port N | --ports 3-8,12 | --device PATH)... [--baud B] "
                   "[--report FILE.json]"),
    QStringLiteral("sends the program of a cam file to controllers of its type, all at once; "
                   "exits 0 only when every controller confirmed every frame"),
    RunSend});

bool readProgram(CamProgram& program, const QString& path) {
    const CamReadResult read = ReadCamFile(program, path);
    if (read.ok()) {
        program.CurrentFileName = path;
        return true;
    }
    cliErr() << "q517-cli: " << path << ": ";
    if (read.status == CamReadResult::Status::Missing)
        cliErr() << "no such file";
    else if (read.status == CamReadResult::Status::Unreadable)
        cliErr() << read.error.Reason;
    else
        cliErr() << "line " << read.error.LineNumber << " \"" << read.error.Line
                 << "\": " << read.error.Reason;
    cliErr() << "\n";
    return false;
}

int sendOne(const CliDeviceArgs& device, const QString& path) {
    CliDevice cli(device);
    Session& session = cli.session();
    if (!readProgram(session.program, path))
        return 1;
    // Told here for a script: the transfer's own refusal advises a window.
    if (IdentifyController(session.linkContext()) != IdentifyResult::Identified)
        return 1;
    const LinkState& link = session.link.state;
    if (link.IdentCamCount != session.program.CamCount() ||
        link.IdentFormatCount != session.program.FormatCount()) {
        cliErr() << "q517-cli: the controller is a "
                 << ControllerDesignation(link.IdentCamCount, link.IdentFormatCount)
                 << "; the file is a "
                 << ControllerDesignation(session.program.CamCount(), session.program.FormatCount())
                 << "\n";
        return 1;
    }

    CliTransferProgress progress(session);
    const TransmitSizesResult result = TransmitSizes(
        session.linkContext(), session.program, QStringLiteral("q517-cli"), nullptr,
        [&] { return RunTransmission(session.linkContext(), session.program, progress); });
    if (result != TransmitSizesResult::Sent)
        return 1;
    cliErr() << "q517-cli: " << path << " sent\n";
    return 0;
}

int RunSend(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("send"));
    LineArgs line;
    QString problem;
    if (!ParseLineArgs(args, true, &line, &problem))
        return cliUsageError(self, problem);
    if (line.rest.size() != 1 || line.rest.first().startsWith(QLatin1String("--")))
        return cliUsageError(self, line.rest.isEmpty() ? QStringLiteral("which cam file?")
                                                       : QStringLiteral("one cam file only"));
    const QString path = line.rest.first();
    if (line.targets.size() == 1 && line.report.isEmpty())
        return sendOne(DeviceArgsFor(line.targets.first(), line), path);

    CamProgram program;
    if (!readProgram(program, path))
        return 1;
    return RunLine(QStringLiteral("send"), path, line, [&](TargetContext& context) {
        TargetPrompts prompts(line.yes);
        CliDevice cli(DeviceArgsFor(context.target(), line), prompts);
        cli.session().program = program;
        Session& session = cli.session();
        return SendProgramJob(session.linkContext(), session.program, prompts, context);
    });
}

} // namespace
