// q517-cli hexcheck IMAGE.hex: the image check of the firmware update, without a window.
#include "CliCommand.h"
#include "model/LanguageTexts.h"

#include "flash/FirmwareTag.h"
#include "flash/ImageCheck.h"
#include "model/FileAccess.h"

namespace {

int RunHexCheck(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("hexcheck"),
                                              QStringLiteral("hexcheck IMAGE.hex"),
                                              [] { return CliTexts().Text(154); }, RunHexCheck});

int RunHexCheck(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("hexcheck"));
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return cliUsageError(self);
    const ImageCheckResult check = CheckImage(args.first());
    if (!check.passed()) {
        if (!check.reason.isEmpty())
            cliErr() << "q517-cli: " << args.first() << ": "
                     << FileAccess::LocalCause(check.reason, CliTexts()) << "\n";
        cliErr() << check.failureText(CliTexts()) << "\n";
        return 1;
    }
    cliOut() << "lines " << check.lines << "\n"
             << "bytes " << check.bytes << "\n";
    const QString tagLine = FirmwareTag::TagLine(check.tag);
    if (!tagLine.isEmpty())
        cliOut() << "tag " << tagLine << "\n";
    return 0;
}

} // namespace
