// q517-cli diff A.CAM B.CAM: what differs between two cam files, like diff(1) for programs.
#include "CliCamFile.h"
#include "CliCommand.h"
#include "CliDiffOutput.h"
#include "model/LanguageTexts.h"

#include "compare/ProgramDiff.h"

namespace {

int RunDiff(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("diff"),
                                              QStringLiteral("diff A.CAM B.CAM [--json]"),
                                              [] { return CliTexts().Text(152); }, RunDiff});

int RunDiff(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("diff"));
    QStringList files = args;
    const bool json = files.removeAll(QStringLiteral("--json")) > 0;
    for (const QString& f : files) {
        if (f.startsWith(QLatin1String("--")) || f.isEmpty())
            return cliUsageError(self, CliTexts().Text(590).arg(f));
    }
    if (files.size() != 2)
        return cliUsageError(self, CliTexts().Text(589));
    CamProgram a;
    CamProgram b;
    // A file that cannot be read is trouble, not a difference.
    if (CliReadCamFile(a, files[0]) != 0 || CliReadCamFile(b, files[1]) != 0)
        return 2;
    return PrintDiff(DiffPrograms(a, b), json);
}

} // namespace
