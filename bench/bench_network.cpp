// Controllers behind a serial device server. Send and receive of a C24-28 program at 9600 and
// 38400 baud against a paced q517-sim, on its terminal and through ser2net (RFC 2217) side by
// side: the server may cost at most 5% of the wall time. Then q517-cli receiving from a hostile
// server that streams junk for 60 s: its resident memory stays under 64 MB.
#include "BenchPrograms.h"
#include "model/CamFileWriter.h"
#include "support/ScriptedServer.h"
#include "support/Ser2net.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

QString tool(const char* name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/") +
           QString::fromLatin1(name);
}

// Peak resident memory of process pid so far, in kB.
long peakRssKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

struct Run {
    bool ok = false;
    bool ended = false; // by itself, within the time-out
    double wallS = 0;
    long peakKb = 0;
};

Run runCli(const QStringList& args, const QString& home, int timeoutMs = 600000) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    cli.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    cli.start(tool("q517-cli"), args);
    Run run;
    cli.waitForStarted();
    while (!cli.waitForFinished(500) && timer.elapsed() < timeoutMs)
        run.peakKb = std::max(run.peakKb, peakRssKb(cli.processId()));
    run.wallS = double(timer.nsecsElapsed()) / 1e9;
    run.ended = cli.state() == QProcess::NotRunning;
    run.ok = run.ended && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0;
    // A run that ended before the first look at /proc is counted from its usage record.
    if (run.ended && run.peakKb == 0) {
        rusage usage{};
        if (::getrusage(RUSAGE_CHILDREN, &usage) == 0)
            run.peakKb = usage.ru_maxrss;
    }
    return run;
}

// The simulator's pacing and the machine's other work move one run by up to 10% either way,
// so each side is run several times, turn about, and the medians are compared. A run at 38400
// baud lasts a third of one at 9600 and varies more for its length, so it gets more turns.
int roundsAt(int baud) {
    return baud >= 38400 ? 9 : 3;
}

double medianWall(std::vector<Run> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Run& a, const Run& b) { return a.wallS < b.wallS; });
    return runs[runs.size() / 2].wallS;
}

void sideBySide(const QString& what, const std::vector<Run>& direct,
                const std::vector<Run>& network) {
    const auto ok = [](const Run& run) { return run.ok; };
    const bool allOk = std::all_of(direct.begin(), direct.end(), ok) &&
                       std::all_of(network.begin(), network.end(), ok);
    const double overNetwork = medianWall(network), onTerminal = medianWall(direct);
    std::printf("BENCH %s through ser2net (RFC 2217), median of %d | %.2f s vs %.2f s on the "
                "terminal, %.3fx | <= 1.05x%s\n",
                qPrintable(what), int(direct.size()), overNetwork, onTerminal,
                overNetwork / onTerminal, allOk ? "" : " (FAILED)");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    for (const int baud : {9600, 38400}) {
        QTemporaryDir home;
        const QString program = home.filePath(QStringLiteral("FULL.CAM"));
        if (!WriteCamFile(BenchPrograms::FullProgram(24, 28), program, false))
            return 1;
        const QString link = home.filePath(QStringLiteral("COM"));
        QProcess sim;
        sim.start(tool("q517-sim"), {QStringLiteral("--link"), link, QStringLiteral("--type"),
                                     QStringLiteral("24-28"), QStringLiteral("--pace"),
                                     QStringLiteral("--baud"), QString::number(baud)});
        if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
            return 1;
        Ser2net server({{link, false}}, home.path());
        if (!server.started()) {
            std::fprintf(stderr, "%s\n", qPrintable(server.problem()));
            return 1;
        }
        const QString speed = QString::number(baud);
        std::vector<Run> runs[2][2];
        const QString devices[2] = {link, server.address(0)};
        for (int round = 0; round < roundsAt(baud); ++round)
            for (int k = 0; k < 2; ++k) {
                const QStringList device{QStringLiteral("--device"), devices[k],
                                         QStringLiteral("--baud"), speed};
                runs[k][0].push_back(
                    runCli(QStringList{QStringLiteral("send"), program} + device, home.path()));
                runs[k][1].push_back(runCli(QStringList{QStringLiteral("receive"),
                                                        home.filePath(QStringLiteral("BACK.CAM"))} +
                                                device,
                                            home.path()));
            }
        const QString name = QStringLiteral("C24-28 at %1").arg(baud);
        sideBySide(QStringLiteral("transmit ") + name, runs[0][0], runs[1][0]);
        sideBySide(QStringLiteral("receive ") + name, runs[0][1], runs[1][1]);
        sim.terminate();
        sim.waitForFinished(5000);
    }

    // A server that answers the identification and then, asked for the program, streams junk.
    ScriptedServer::Script hostile;
    hostile.replies = {{"?M8C\r", QByteArray("24 28").leftJustified(21, ' ') + "ITALY-ABCDEFGHI\r"},
                       {"?T93\r", "AVR_M1280-V2.50\r"}};
    hostile.floodAfter = "?FR\xD7\r";
    hostile.floodMs = 60000;
    ScriptedServer server(hostile);
    QTemporaryDir home;
    const Run flooded =
        runCli({QStringLiteral("receive"), home.filePath(QStringLiteral("X.CAM")),
                QStringLiteral("--device"), server.address(), QStringLiteral("--yes")},
               home.path(), 120000);
    std::printf("BENCH q517-cli receiving from a server streaming junk | %s after %.1f s, %.1f MB "
                "peak resident (largest child so far) | ends; <= 64 MB\n",
                flooded.ended ? "ended by itself" : "still listening, stopped", flooded.wallS,
                double(flooded.peakKb) / 1024);
    return 0;
}
