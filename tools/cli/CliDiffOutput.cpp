#include "CliDiffOutput.h"

#include "CliCommand.h"

#include "compare/DiffReport.h"

int PrintDiff(const ProgramDiff& diff, bool json) {
    if (json) {
        cliOut() << QString::fromUtf8(DiffJson(diff)) << "\n";
    } else {
        for (const QString& line : DiffLines(diff))
            cliOut() << CliShown(line) << "\n";
    }
    return diff.Same() ? 0 : 1;
}
