// Program transfers at a real line's pace: q517-cli send and receive against q517-sim --pace,
// for the program with the most formats of each cam count, at 9600 and 38400 baud. The wall
// time is held against the floor the line allows (every byte both ways at 10 bits, plus the
// pauses the controller needs); the CPU time of q517-cli shows that it waits, not spins.
#include "BenchPrograms.h"
#include "model/CamFileWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using BenchPrograms::CpuSecondsOfChildren;

struct Run {
    bool ok = false;
    double wallS = 0;
    double cpuS = 0;
};

Run runCli(const QStringList& args, const QString& home) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    cli.setProcessEnvironment(env);
    // The simulator is still running, so only this child is counted when it is reaped.
    const double cpuBefore = CpuSecondsOfChildren();
    QElapsedTimer timer;
    timer.start();
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-cli"), args);
    Run run;
    run.ok = cli.waitForFinished(600000) && cli.exitStatus() == QProcess::NormalExit &&
             cli.exitCode() == 0;
    run.wallS = double(timer.nsecsElapsed()) / 1e9;
    run.cpuS = CpuSecondsOfChildren() - cpuBefore;
    return run;
}

// The bytes the simulator reports for its last transfer.
long long lastLineBytes(const QByteArray& simLog) {
    static const QRegularExpression pattern(QStringLiteral("line: (\\d+) bytes"));
    long long bytes = -1;
    auto it = pattern.globalMatch(QString::fromLocal8Bit(simLog));
    while (it.hasNext())
        bytes = it.next().captured(1).toLongLong();
    return bytes;
}

// Waits (bounded) until the simulator has reported the line use of one more transfer.
void collectReport(QProcess& sim, QByteArray& simLog) {
    const int before = int(simLog.count("line: "));
    QElapsedTimer timer;
    timer.start();
    while (simLog.count("line: ") == before && timer.elapsed() < 10000) {
        sim.waitForReadyRead(500);
        simLog += sim.readAllStandardError();
    }
}

void report(const QString& what, const Run& run, long long bytes, int baud, double fixedS) {
    const double floorS = double(bytes) * 10 / baud + fixedS;
    const double over = (run.wallS / floorS - 1) * 100;
    std::printf("BENCH %s wall | %.2f s, floor %.2f s (%lld bytes), %+.1f%% | within 10%% of the "
                "floor%s\n",
                qPrintable(what), run.wallS, floorS, bytes, over, run.ok ? "" : " (FAILED)");
    std::printf("BENCH %s cpu of q517-cli | %.2f s, %.1f%% of wall | under 5%% of wall\n",
                qPrintable(what), run.cpuS, run.cpuS / run.wallS * 100);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const struct {
        int cams, formats;
        const char* type;
    } types[] = {{8, 89, "08-89"}, {16, 44, "16-44"}, {24, 28, "24-28"}};
    for (const int baud : {9600, 38400}) {
        for (const auto& t : types) {
            QTemporaryDir home;
            const QString program = home.filePath(QStringLiteral("FULL.CAM"));
            if (!WriteCamFile(BenchPrograms::FullProgram(t.cams, t.formats), program, false))
                return 1;
            const QString link = home.filePath(QStringLiteral("COM"));
            QProcess sim;
            sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-sim"),
                      {QStringLiteral("--link"), link, QStringLiteral("--type"),
                       QString::fromLatin1(t.type), QStringLiteral("--pace"),
                       QStringLiteral("--baud"), QString::number(baud)});
            if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
                return 1;
            QByteArray simLog;
            const QString name =
                QStringLiteral("C%1-%2 at %3").arg(t.cams).arg(t.formats).arg(baud);
            const QStringList device{QStringLiteral("--device"), link, QStringLiteral("--baud"),
                                     QString::number(baud)};

            const Run send =
                runCli(QStringList{QStringLiteral("send"), program} + device, home.path());
            collectReport(sim, simLog);
            // Pauses: 100 ms before "?T", 80 before the window, 50 after "?FW", 10 after each
            // header and after each format, 5 before and 10 after "END".
            report(QStringLiteral("transmit ") + name, send, lastLineBytes(simLog), baud,
                   (100 + 80 + 50 + 20 * t.formats + 15) / 1000.0);

            const Run receive = runCli(
                QStringList{QStringLiteral("receive"), home.filePath(QStringLiteral("BACK.CAM"))} +
                    device,
                home.path());
            collectReport(sim, simLog);
            // Pauses: 100 ms before "?T", 60 after "?FR".
            report(QStringLiteral("receive ") + name, receive, lastLineBytes(simLog), baud,
                   (100 + 60) / 1000.0);
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }
    return 0;
}
