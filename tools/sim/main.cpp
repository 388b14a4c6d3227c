// q517-sim: a cam controller on a pseudo-terminal, for training and for tests.
#include "SimController.h"
#include "SimModule.h"
#include "SimPty.h"
#include "link/PortMap.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

extern "C" void requestStop(int) {
    stopRequested = 1;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a signal ends the wait on the line at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int fail(const QString& text, int status = 1) {
    QTextStream err(stderr);
    err << "q517-sim: " << text << "\n";
    return status;
}

const QStringList kCoreFaults{QStringLiteral("silent"), QStringLiteral("slow")};

bool parseType(const QString& text, SimConfig& config) {
    QString t = text.trimmed().toUpper();
    if (t.startsWith(QLatin1Char('C')))
        t.remove(0, 1);
    const QStringList parts = t.split(QLatin1Char('-'));
    if (parts.size() != 2)
        return false;
    bool camsOk = false, formatsOk = false;
    const int cams = parts[0].toInt(&camsOk);
    const int formats = parts[1].toInt(&formatsOk);
    const bool known = (cams == 8 && (formats == 21 || formats == 89)) ||
                       (cams == 16 && (formats == 10 || formats == 44)) ||
                       (cams == 24 && (formats == 6 || formats == 28));
    if (!camsOk || !formatsOk || !known)
        return false;
    config.camCount = cams;
    config.formatCount = formats;
    return true;
}

QString defaultWorkDir() {
    // The same per-user data directory the programmer uses as its working directory.
    QCoreApplication::setApplicationName(QStringLiteral("q517"));
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(QStringLiteral("q517-sim"));
    return dir;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q517-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(Q517_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A cam controller simulator on a pseudo-terminal. It prints the terminal's device\n"
        "path and serves until interrupted (Ctrl+C or SIGTERM)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Link the terminal as ports/COM<n> in the "
                                                       "working directory (1-64)."),
                                        QStringLiteral("n"));
    const QCommandLineOption linkOption(QStringLiteral("link"),
                                        QStringLiteral("Link the terminal at this path."),
                                        QStringLiteral("path"));
    const QCommandLineOption workDirOption(
        QStringLiteral("workdir"),
        QStringLiteral("Working directory for --port (default: the programmer's own)."),
        QStringLiteral("dir"));
    const QCommandLineOption typeOption(
        QStringLiteral("type"),
        QStringLiteral("Controller type, cams-formats: 08-21, 08-89, 16-10, 16-44, 24-06 or "
                       "24-28 (default 24-28)."),
        QStringLiteral("CC-FF"), QStringLiteral("24-28"));
    const QCommandLineOption cpuOption(QStringLiteral("cpu"),
                                       QStringLiteral("Processor name in the \"?T\" reply "
                                                      "(default SIM_C517; e.g. AVR_M1280)."),
                                       QStringLiteral("name"), QStringLiteral("SIM_C517"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
                                        QStringLiteral("Line speed (default 9600)."),
                                        QStringLiteral("rate"), QStringLiteral("9600"));
    const QCommandLineOption faultOption(
        QStringLiteral("fault"),
        QStringLiteral("Switch on a fault (repeatable): silent, slow, bad-reply, and those of "
                       "the transfer and flash parts."),
        QStringLiteral("fault"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Log every command and frame."));
    parser.addOptions({portOption, linkOption, workDirOption, typeOption, cpuOption, baudOption,
                       faultOption, verboseOption});
    for (const SimModule& module : SimModules())
        parser.addOptions(module.options);
    parser.process(app);

    SimConfig config;
    if (!parseType(parser.value(typeOption), config))
        return fail(QStringLiteral("--type must be one of 08-21, 08-89, 16-10, 16-44, 24-06, "
                                   "24-28, not '") +
                        parser.value(typeOption) + QLatin1Char('\''),
                    2);
    config.cpu = parser.value(cpuOption);
    if (config.cpu.contains(QLatin1Char('-')) || config.cpu.isEmpty())
        return fail(QStringLiteral("--cpu names the processor: no '-' in it"), 2);
    bool baudOk = false;
    config.baud = parser.value(baudOption).toInt(&baudOk);
    if (!baudOk || config.baud <= 0)
        return fail(QStringLiteral("--baud must be a positive number"), 2);
    config.faults = parser.values(faultOption);
    config.verbose = parser.isSet(verboseOption);
    QStringList knownFaults = kCoreFaults;
    for (const SimModule& module : SimModules())
        knownFaults += module.faults;
    for (const QString& f : std::as_const(config.faults)) {
        if (!knownFaults.contains(f.section(QLatin1Char('='), 0, 0)))
            return fail(QStringLiteral("unknown fault '") + f + QStringLiteral("' (known: ") +
                            knownFaults.join(QStringLiteral(", ")) + QLatin1Char(')'),
                        2);
    }

    QString linkPath;
    if (parser.isSet(portOption) && parser.isSet(linkOption))
        return fail(QStringLiteral("give --port or --link, not both"), 2);
    if (parser.isSet(portOption)) {
        bool ok = false;
        const int n = parser.value(portOption).toInt(&ok);
        if (!ok || n < PortMap::FirstPort || n > PortMap::LastPort)
            return fail(QStringLiteral("--port must be 1 to 64"), 2);
        const QString workDir =
            parser.isSet(workDirOption) ? parser.value(workDirOption) : defaultWorkDir();
        linkPath = PortMap::PortLink(n, workDir);
    } else if (parser.isSet(linkOption)) {
        linkPath = QFileInfo(parser.value(linkOption)).absoluteFilePath();
    }

    SimPty pty;
    QString why;
    if (!pty.create(&why))
        return fail(QStringLiteral("cannot make a pseudo-terminal: ") + why);

    volatile std::sig_atomic_t& stop = stopRequested;
    SimController controller(pty, config, stop);
    for (const SimModule& module : SimModules()) {
        QString error;
        if (!module.install(parser, controller, &error))
            return fail(error, 2);
    }

    if (!linkPath.isEmpty()) {
        QDir().mkpath(QFileInfo(linkPath).absolutePath());
        const QFileInfo existing(linkPath);
        if (existing.isSymLink()) {
            // A link left by an earlier run (or another simulator): ours replaces it.
            if (existing.exists())
                controller.log(QStringLiteral("replacing ") + linkPath + QStringLiteral(" -> ") +
                               existing.symLinkTarget());
            QFile::remove(linkPath);
        } else if (existing.exists()) {
            return fail(linkPath + QStringLiteral(" exists and is not a link; not touched"));
        }
        if (!QFile::link(pty.devicePath(), linkPath))
            return fail(QStringLiteral("cannot make the link ") + linkPath);
    }

    installSignalHandlers();
    {
        QTextStream out(stdout);
        out << pty.devicePath() << "\n";
        out.flush();
    }
    controller.log(QStringLiteral("controller C%1-%2 (%3) on %4%5")
                       .arg(config.camCount, 2, 10, QLatin1Char('0'))
                       .arg(config.formatCount, 2, 10, QLatin1Char('0'))
                       .arg(config.cpu, pty.devicePath(),
                            linkPath.isEmpty() ? QString() : QStringLiteral(", link ") + linkPath));
    std::fflush(stdout);

    controller.serve();

    if (!linkPath.isEmpty() && QFileInfo(linkPath).symLinkTarget() == pty.devicePath())
        QFile::remove(linkPath);
    controller.log(QStringLiteral("stopped"));
    return 0;
}
