// q517-cli send: a cam file into the controller, as Comm > Transmit Sizes sends it; into
// several controllers at once as a production line.
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliLine.h"
#include "CliTransferProgress.h"
#include "model/LanguageTexts.h"

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
    [] { return CliTexts().Text(159); }, RunSend});

bool readProgram(CamProgram& program, const QString& path) {
    if (CliReadCamFile(program, path) != 0)
        return false;
    program.CurrentFileName = path;
    return true;
}

int RunSend(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("send"));
    LineArgs line;
    QString problem;
    if (!ParseLineArgs(args, true, CliTexts(), &line, &problem))
        return cliUsageError(self, problem);
    if (line.rest.size() != 1 || line.rest.first().startsWith(QLatin1String("--")))
        return cliUsageError(self,
                             line.rest.isEmpty() ? CliTexts().Text(561) : CliTexts().Text(562));
    const QString path = line.rest.first();
    CamProgram program;
    // A refused or damaged file is trouble before any controller was reached.
    if (!readProgram(program, path))
        return 2;
    const bool one = line.targets.size() == 1;
    return RunLine(QStringLiteral("send"), path, line, [&](TargetContext& context) {
        TargetPrompts prompts(line.yes);
        CliDevice cli(DeviceArgsFor(context.target(), line), prompts, CliWorkDir());
        Session& session = cli.session();
        session.program = program;
        // A line of one shows the transfer as the window does, a line per format.
        CliTransferProgress echo(session);
        return SendProgramJob(session.linkContext(), session.program, prompts, context,
                              one ? &echo : nullptr);
    });
}

} // namespace
