// q517-cli convert IN.CAM OUT.CAM: reads a cam file with the program's reader and writes it
// with the program's writer, as a save with the port closed, so scripts can check and
// normalise cam files.
#include "CliCamFile.h"
#include "CliCommand.h"
#include "model/LanguageTexts.h"

#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"

namespace {

int RunConvert(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("convert"),
                                              QStringLiteral("convert IN.CAM OUT.CAM"),
                                              [] { return CliTexts().Text(151); }, RunConvert});

int RunConvert(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("convert"));
    if (args.size() != 2 || args[0].startsWith(QLatin1String("--")) ||
        args[1].startsWith(QLatin1String("--")) || args[0].isEmpty() || args[1].isEmpty())
        return cliUsageError(self);
    CamProgram program; // start values: 24 cams, 6 formats
    if (const int refused = CliReadCamFile(program, args[0]))
        return refused;
    FileWriteError error;
    if (!WriteCamFile(program, args[1], false, &error)) {
        cliErr() << "q517-cli: " << CliTexts().Text(330) << NumberForms::Standard(error.Number)
                 << ": " << FileWriteErrorText(error, CliTexts()) << "\n";
        return 1;
    }
    return 0;
}

} // namespace
