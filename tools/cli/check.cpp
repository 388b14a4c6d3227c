// q517-cli check IN.CAM: reads a cam file with the program's reader and tells what it holds.
#include "CliCamFile.h"
#include "CliCommand.h"
#include "model/LanguageTexts.h"

#include "model/CamProgram.h"
#include "model/NumberForms.h"

namespace {

int RunCheck(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("check"),
                                              QStringLiteral("check IN.CAM"),
                                              [] { return CliTexts().Text(150); }, RunCheck});

int RunCheck(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("check"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")) || args[0].isEmpty())
        return cliUsageError(self);
    CamProgram program;
    if (const int refused = CliReadCamFile(program, args[0], true))
        return refused;
    long long phases = 0;
    for (int f = 1; f <= program.FormatCount(); ++f) {
        for (int c = 1; c <= program.CamCount(); ++c)
            phases += qsizetype(program.ListPhases(f, c).size());
    }
    cliOut() << "type C" << NumberForms::TwoDigits(program.CamCount()) << "-"
             << NumberForms::TwoDigits(program.FormatCount()) << "\n"
             << "phases " << phases << "\n";
    return 0;
}

} // namespace
