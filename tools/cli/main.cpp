#include "CliCommand.h"
#include "CliDevice.h"
#include "CliHelp.h"
#include "CliRawNames.h"

#include "model/FileAccess.h"
#include "model/LanguageTexts.h"
#include "shell/LanguageScripts.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <limits>
#include <memory>

std::map<QString, CliCommand>& CliCommands() {
    static std::map<QString, CliCommand> commands;
    return commands;
}

QTextStream& cliOut() {
    static QTextStream out(stdout);
    return out;
}

QTextStream& cliErr() {
    static QTextStream err(stderr);
    return err;
}

QString CliShown(const QString& text) {
    return FileAccess::Printable(CliNames().shown(text), std::numeric_limits<int>::max());
}

int cliUsageError(const CliCommand& command, const QString& problem) {
    if (!problem.isEmpty())
        cliErr() << "q517-cli: " << problem << "\n";
    cliErr() << CliTexts().Text(563) << " q517-cli " << command.usage << "\n";
    cliErr().flush();
    return 2;
}

// The help in the operator's language (the one the options file names).
static const LanguageTexts& operatorTexts() {
    return CliTexts();
}

static bool verbose = false;

// The toolkit's diagnostics are for whoever debugs this program, not for the script reading
// its output: they reach standard error only with -v.
static void routeQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (!verbose && type != QtFatalMsg)
        return;
    // Straight to the descriptor: the toolkit also speaks while statics are torn down, after
    // the program's own streams are gone.
    const QByteArray line = "q517-cli: [qt] " + text.toLocal8Bit() + "\n";
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

int main(int argc, char* argv[]) {
    qInstallMessageHandler(routeQtMessage);
    // Printing to PDF needs a painting platform; no display is needed for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q517-cli"));
    LanguageScripts::InstallToolkitTranslation(CliTexts().LanguageCode());
    // Names as the shell gave them, also those that are not UTF-8.
    QStringList args = CliNames().arguments(argc, argv);
    verbose =
        args.removeAll(QStringLiteral("-v")) + args.removeAll(QStringLiteral("--verbose")) > 0;
    if (args.isEmpty()) {
        cliErr() << CliHelpText(operatorTexts());
        cliErr().flush();
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        cliOut() << CliHelpText(operatorTexts());
        cliOut().flush();
        return 0;
    }
    if (name == QLatin1String("--version")) {
        cliOut() << "q517-cli " << Q517_VERSION << "\n";
        cliOut().flush();
        return 0;
    }
    const auto it = CliCommands().find(name);
    if (it == CliCommands().end()) {
        cliErr() << "q517-cli: " << CliTexts().Text(149).arg(name) << "\n";
        cliErr().flush();
        return 2;
    }
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        cliOut() << CliCommandHelpText(it->second, operatorTexts());
        cliOut().flush();
        return 0;
    }
    int status = it->second.run(args);
    if (!CliNames().finish() && status == 0)
        status = 1;
    cliOut().flush();
    cliErr().flush();
    return status;
}
