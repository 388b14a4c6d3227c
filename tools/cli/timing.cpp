// q517-cli timing FILE.CAM --rpm N [--format F] [--min-ms M] [--json]: one format as the machine
// runs it at N rpm, advances applied, phase and gap times in ms.
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDevice.h"

#include "model/CamProgram.h"
#include "model/LanguageTexts.h"
#include "timing/ShaftTiming.h"
#include "timing/TimingReport.h"

#include <optional>

namespace {

int RunTiming(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("timing"),
    QStringLiteral("timing FILE.CAM --rpm N [--format F] [--min-ms M] [--json]"),
    [] { return CliTexts().Text(216); }, RunTiming});

QString speedRule() {
    return CliTexts().Text(439);
}

struct TimingArgs {
    QString camFile;
    QString rpm;
    QString format = QStringLiteral("1");
    QString minimum = QStringLiteral("0");
    bool json = false;
};

std::optional<TimingArgs> parseArgs(const QStringList& args, QString& problem) {
    TimingArgs parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--rpm") || arg == QLatin1String("--format") ||
            arg == QLatin1String("--min-ms")) {
            if (i + 1 >= args.size()) {
                problem = CliTexts().Text(547).arg(arg);
                return std::nullopt;
            }
            const QString value = args.at(++i);
            (arg == QLatin1String("--rpm")      ? parsed.rpm
             : arg == QLatin1String("--format") ? parsed.format
                                                : parsed.minimum) = value;
        } else if (arg == QLatin1String("--json")) {
            parsed.json = true;
        } else if (arg.startsWith(QLatin1String("--")) || !parsed.camFile.isEmpty()) {
            problem = CliTexts().Text(573).arg(arg);
            return std::nullopt;
        } else {
            parsed.camFile = arg;
        }
    }
    if (parsed.camFile.isEmpty() || parsed.rpm.isEmpty()) {
        problem = CliTexts().Text(577);
        return std::nullopt;
    }
    return parsed;
}

int RunTiming(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("timing"));
    QString problem;
    const std::optional<TimingArgs> parsed = parseArgs(args, problem);
    if (!parsed)
        return cliUsageError(self, problem);
    const std::optional<int> rpm = ShaftTiming::ParseRpm(parsed->rpm);
    if (!rpm)
        return cliUsageError(self, QStringLiteral("--rpm ") + parsed->rpm + QStringLiteral(": ") +
                                       speedRule());
    const std::optional<int> minimum = ShaftTiming::ParseMinimumTenths(parsed->minimum);
    if (!minimum)
        return cliUsageError(self, QStringLiteral("--min-ms ") + parsed->minimum +
                                       QStringLiteral(": ") + CliTexts().Text(440));

    CamProgram program;
    if (CliReadCamFile(program, parsed->camFile) != 0)
        return 2;
    bool isNumber = false;
    const int format = parsed->format.trimmed().toInt(&isNumber);
    if (!isNumber || !program.IsValidFormat(format)) {
        cliErr() << "q517-cli: --format " << parsed->format << ": " << CliTexts().Text(441)
                 << " 1.." << program.FormatCount() << "\n";
        return 2;
    }

    const ShaftTiming::FormatTiming timing =
        ShaftTiming::TimeFormat(program, format, *rpm, *minimum);
    if (parsed->json)
        cliOut() << QString::fromUtf8(TimingJson(timing)) << "\n";
    else
        for (const QString& line : TimingLines(timing))
            cliOut() << line << "\n";
    return timing.AnyShort() ? 1 : 0;
}

} // namespace
