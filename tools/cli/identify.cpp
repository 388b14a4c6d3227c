// q517-cli identify: asks the controller "?M" and "?T" as the programmer does at start-up.
#include "CliCommand.h"
#include "CliDevice.h"
#include "model/LanguageTexts.h"

#include "link/Identification.h"
#include "link/LinkOutcome.h"

namespace {

int RunIdentify(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("identify"), QStringLiteral("identify (--port N | --device PATH) [--baud B]"),
    [] { return CliTexts().Text(155); }, RunIdentify});

QString withoutCr(QString line) {
    while (line.endsWith(QLatin1Char('\r')) || line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    return line;
}

int RunIdentify(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("identify"));
    CliDeviceArgs device;
    QString problem;
    if (!ParseDeviceArgs(args, &device, &problem))
        return cliUsageError(self, problem);
    if (!device.rest.isEmpty())
        return cliUsageError(self, CliTexts().Text(579).arg(device.rest.first()));
    CliDevice cli(device);
    Session& session = cli.session();
    const Identification identified = IdentifyController(session.linkContext());
    if (identified.result != IdentifyResult::Identified) {
        ShowOutcome(session.linkContext(), identified.outcome);
        if (identified.result == IdentifyResult::NotFound)
            cliErr() << "q517-cli: " << CliTexts().Text(587)
                     << withoutCr(session.link.state.IdentReply) << "\n";
        return 1;
    }
    cliOut() << "?M: " << withoutCr(session.link.state.IdentReply) << "\n"
             << "?T: " << withoutCr(session.link.state.TypeReply) << "\n"
             << "type: "
             << ControllerDesignation(session.link.state.IdentCamCount,
                                      session.link.state.IdentFormatCount)
             << "\n";
    return 0;
}

} // namespace
