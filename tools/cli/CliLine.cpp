#include "CliLine.h"

#include "CliCommand.h"
#include "CliDevice.h"
#include "model/LanguageTexts.h"
#include "production/LineProgress.h"
#include "production/LineReport.h"

#include <QElapsedTimer>

#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

// Ctrl+C and SIGTERM ask the line to stop while it runs; a second Ctrl+C ends at once.
class InterruptGuard {
public:
    InterruptGuard() {
        interrupted = 0;
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~InterruptGuard() {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

int terminalWidth() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace

int RunLine(const QString& command, const QString& file, const LineArgs& line, const TargetJob& job,
            bool quiet) {
    // Found here, on the main thread, before any target's thread asks for them.
    CliLanguageScript();
    const LanguageTexts& texts = CliTexts();
    const QString shared = SharedDevice(line.targets, CliWorkDir(), texts, CliNetworkPorts());
    if (!shared.isEmpty())
        return cliUsageError(CliCommands().at(command), shared);
    if (!line.report.isEmpty()) {
        const QString problem = ReportPathProblem(line.report, file, texts);
        if (!problem.isEmpty()) {
            cliErr() << "q517-cli: " << texts.Text(592).arg(CliShown(problem)) << "\n";
            return 2;
        }
    }

    LineReportHeader header{command, file, QDateTime::currentDateTimeUtc(), 0};
    QElapsedTimer elapsed;
    elapsed.start();
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    LineProgress progress(texts, terminal, terminal ? terminalWidth() : 0);
    const bool one = line.targets.size() == 1;
    LineRun run(texts, line.targets, job);
    {
        InterruptGuard guard;
        run.run(
            [&](const QList<TargetStatus>& statuses) {
                if (one)
                    return;
                cliErr() << QString::fromLocal8Bit(progress.update(statuses));
                cliErr().flush();
            },
            [] { return interrupted != 0; });
    }
    header.seconds = double(elapsed.elapsed()) / 1000;
    const QList<TargetStatus> statuses = run.statuses();
    if (interrupted)
        cliErr() << "q517-cli: " << texts.Text(591) << "\n";
    if (quiet) {
        // The command prints its own result; a target that did not end well still says why.
        for (const TargetStatus& s : statuses)
            if (s.result != TargetStatus::Result::Ok && s.result != TargetStatus::Result::Different)
                cliErr() << "q517-cli: " << s.target.name() << ": " << s.cause << "\n";
    } else {
        cliOut() << SummaryTable(statuses, texts);
        cliOut().flush();
    }
    cliErr().flush();
    int status = LineExitStatus(statuses, command == QLatin1String("verify"));
    if (!line.report.isEmpty()) {
        QString why;
        if (!WriteLineReport(line.report, ReportJson(header, statuses), &why)) {
            cliErr() << "q517-cli: " << texts.Text(593).arg(CliShown(line.report), why) << "\n";
            status = 1;
        }
    }
    return status;
}
