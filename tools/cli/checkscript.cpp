// q517-cli check-script FILE.SCR: which texts a language script lacks (a customer's script
// written before they were added): the program shows those in English.
#include "CliCommand.h"

#include "model/LanguageTexts.h"
#include "shell/LanguageScripts.h"

namespace {

int RunCheckScript(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("check-script"),
                                              QStringLiteral("check-script FILE.SCR"),
                                              [] { return CliTexts().Text(139); }, RunCheckScript});

int RunCheckScript(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("check-script"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")) || args[0].isEmpty())
        return cliUsageError(self);
    LanguageTexts script;
    QString error;
    if (!script.LoadLanguage(args[0], &error)) {
        cliErr() << "q517-cli: " << args[0] << ": " << error << "\n";
        return 1;
    }
    LanguageTexts english;
    LanguageScripts::LoadReference(english);
    // One line per missing number with the English text, what a translator works from.
    const QList<int> missing = script.MissingFrom(english);
    for (int n : missing)
        cliOut() << QString::number(n).rightJustified(3) << "  " << english.Text(n) << "\n";
    if (script.LanguageCode().isEmpty())
        cliErr() << CliTexts().Text(142) << "\n";
    if (missing.isEmpty()) {
        cliErr() << CliTexts().Text(141) << "\n";
        return 0;
    }
    cliErr() << CliTexts().Text(140) << missing.size() << "\n";
    return 1;
}

} // namespace
