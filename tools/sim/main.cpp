// q517-sim: a cam controller on a pseudo-terminal, for training and for tests.
#include "SimController.h"
#include "SimLinks.h"
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
#include <memory>
#include <optional>
#include <thread>
#include <vector>

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

// The options of one link (and of the whole command line, for --help).
struct SimOptions {
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("Link the terminal as ports/COM<n> in the working "
                                           "directory (1-64); repeat it for more controllers."),
                            QStringLiteral("n")};
    QCommandLineOption link{QStringLiteral("link"),
                            QStringLiteral("Link the terminal at this path; repeat it for more "
                                           "controllers (the options after it are its own)."),
                            QStringLiteral("path")};
    QCommandLineOption count{QStringLiteral("count"),
                             QStringLiteral("Serve N controllers: --link PREFIX makes PREFIX1.."
                                            "PREFIXN, --port P the ports P..P+N-1."),
                             QStringLiteral("N")};
    QCommandLineOption workDir{
        QStringLiteral("workdir"),
        QStringLiteral("Working directory for --port (default: the programmer's own)."),
        QStringLiteral("dir")};
    QCommandLineOption type{
        QStringLiteral("type"),
        QStringLiteral("Controller type, cams-formats: 08-21, 08-89, 16-10, 16-44, 24-06 or "
                       "24-28 (default 24-28)."),
        QStringLiteral("CC-FF"), QStringLiteral("24-28")};
    QCommandLineOption cpu{QStringLiteral("cpu"),
                           QStringLiteral("Processor name in the \"?T\" reply "
                                          "(default SIM_C517; e.g. AVR_M1280)."),
                           QStringLiteral("name"), QStringLiteral("SIM_C517")};
    QCommandLineOption baud{QStringLiteral("baud"), QStringLiteral("Line speed (default 9600)."),
                            QStringLiteral("rate"), QStringLiteral("9600")};
    QCommandLineOption fault{
        QStringLiteral("fault"),
        QStringLiteral(
            "Switch on a fault (repeatable): silent, slow, bad-reply, no-ident, and those of "
            "the transfer and flash parts."),
        QStringLiteral("fault")};
    QCommandLineOption verbose{QStringLiteral("verbose"),
                               QStringLiteral("Log every command and frame.")};

    void addTo(QCommandLineParser& parser) const {
        parser.addOptions({port, link, count, workDir, type, cpu, baud, fault, verbose});
        for (const SimModule& module : SimModules())
            parser.addOptions(module.options);
    }
};

// One simulated controller on its own terminal.
struct SimLink {
    SimPty pty;
    std::unique_ptr<SimController> controller;
    QString linkPath;
};

// Sets up one link from its options; on a problem it prints it and gives the exit status.
std::optional<int> setUpLink(const QStringList& args, const SimOptions& options, bool named,
                             SimLink& link) {
    QCommandLineParser parser;
    options.addTo(parser);
    if (!parser.parse(QStringList{QCoreApplication::applicationFilePath()} + args))
        return fail(parser.errorText(), 2);

    SimConfig config;
    if (!parseType(parser.value(options.type), config))
        return fail(QStringLiteral("--type must be one of 08-21, 08-89, 16-10, 16-44, 24-06, "
                                   "24-28, not '") +
                        parser.value(options.type) + QLatin1Char('\''),
                    2);
    config.cpu = parser.value(options.cpu);
    if (config.cpu.contains(QLatin1Char('-')) || config.cpu.isEmpty())
        return fail(QStringLiteral("--cpu names the processor: no '-' in it"), 2);
    bool baudOk = false;
    config.baud = parser.value(options.baud).toInt(&baudOk);
    if (!baudOk || config.baud <= 0)
        return fail(QStringLiteral("--baud must be a positive number"), 2);
    config.faults = parser.values(options.fault);
    config.verbose = parser.isSet(options.verbose);
    QStringList knownFaults = kCoreFaults;
    for (const SimModule& module : SimModules())
        knownFaults += module.faults;
    knownFaults.removeDuplicates();
    for (const QString& f : std::as_const(config.faults)) {
        if (!knownFaults.contains(f.section(QLatin1Char('='), 0, 0)))
            return fail(QStringLiteral("unknown fault '") + f + QStringLiteral("' (known: ") +
                            knownFaults.join(QStringLiteral(", ")) + QLatin1Char(')'),
                        2);
    }

    QString& linkPath = link.linkPath;
    if (parser.isSet(options.port) && parser.isSet(options.link))
        return fail(QStringLiteral("give --port or --link, not both"), 2);
    if (parser.isSet(options.port)) {
        bool ok = false;
        const int n = parser.value(options.port).toInt(&ok);
        if (!ok || n < PortMap::FirstPort || n > PortMap::LastSerialPort)
            return fail(QStringLiteral("--port must be 1 to 64"), 2);
        const QString workDir =
            parser.isSet(options.workDir) ? parser.value(options.workDir) : defaultWorkDir();
        linkPath = PortMap::PortLink(n, workDir);
        // ports/ in the working directory is the simulator's own to make.
        QDir().mkpath(QFileInfo(linkPath).absolutePath());
    } else if (parser.isSet(options.link)) {
        linkPath = QFileInfo(parser.value(options.link)).absoluteFilePath();
        // A mistyped folder is refused rather than created where nobody looks for it.
        const QString folder = QFileInfo(linkPath).absolutePath();
        if (!QFileInfo(folder).isDir())
            return fail(QStringLiteral("--link: no folder ") + folder, 2);
    }
    if (named)
        config.name = QFileInfo(linkPath).fileName();

    SimPty& pty = link.pty;
    QString why;
    if (!pty.create(&why))
        return fail(QStringLiteral("cannot make a pseudo-terminal: ") + why);

    link.controller = std::make_unique<SimController>(pty, config, stopRequested);
    SimController& controller = *link.controller;
    for (const SimModule& module : SimModules()) {
        QString error;
        if (!module.install(parser, controller, &error))
            return fail(error, 2);
    }

    if (!linkPath.isEmpty()) {
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
    return std::nullopt;
}

void serveLink(SimLink& link) {
    SimController& controller = *link.controller;
    const SimConfig& config = controller.config();
    controller.log(
        QStringLiteral("controller C%1-%2 (%3) on %4%5")
            .arg(config.camCount, 2, 10, QLatin1Char('0'))
            .arg(config.formatCount, 2, 10, QLatin1Char('0'))
            .arg(config.cpu, link.pty.devicePath(),
                 link.linkPath.isEmpty() ? QString() : QStringLiteral(", link ") + link.linkPath));
    controller.serve();
    controller.log(QStringLiteral("stopped"));
}

void removeLink(const SimLink& link) {
    if (!link.linkPath.isEmpty() &&
        QFileInfo(link.linkPath).symLinkTarget() == link.pty.devicePath())
        QFile::remove(link.linkPath);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("q517-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(Q517_VERSION));

    const SimOptions options;
    {
        // The whole command line once, for --help, --version and unknown options.
        QCommandLineParser parser;
        parser.setApplicationDescription(QStringLiteral(
            "A cam controller simulator on a pseudo-terminal. It prints the terminal's device\n"
            "path (one line per controller) and serves until interrupted (Ctrl+C or SIGTERM)."));
        parser.addHelpOption();
        parser.addVersionOption();
        options.addTo(parser);
        parser.process(app);
    }
    QList<QStringList> linkArgs;
    QString problem;
    if (!SplitLinkArguments(QCoreApplication::arguments().mid(1), &linkArgs, &problem))
        return fail(problem, 2);

    std::vector<std::unique_ptr<SimLink>> links;
    const auto removeLinks = [&] {
        for (const auto& link : links)
            removeLink(*link);
    };
    for (const QStringList& args : std::as_const(linkArgs)) {
        links.push_back(std::make_unique<SimLink>());
        if (const std::optional<int> status =
                setUpLink(args, options, linkArgs.size() > 1, *links.back())) {
            links.pop_back();
            removeLinks();
            return *status;
        }
        const QString path = links.back()->linkPath;
        for (std::size_t k = 0; k + 1 < links.size() && !path.isEmpty(); ++k) {
            if (links[k]->linkPath == path) {
                links.pop_back();
                removeLinks();
                return fail(path + QStringLiteral(" is named for two controllers"), 2);
            }
        }
    }

    installSignalHandlers();
    {
        QTextStream out(stdout);
        for (const auto& link : links)
            out << link->pty.devicePath() << "\n";
        out.flush();
    }
    std::fflush(stdout);

    if (links.size() == 1) {
        serveLink(*links.front());
    } else {
        // One thread per controller: each serves its own terminal, as its own controller would.
        std::vector<std::thread> threads;
        for (const auto& link : links)
            threads.emplace_back([&link] { serveLink(*link); });
        for (std::thread& thread : threads)
            thread.join();
    }
    removeLinks();
    return 0;
}
