// A production line: q517-cli send of a full C24-28 program to one controller, then to eight
// at once, all served by one q517-sim --pace at 9600 baud. Eight lines run side by side, so
// eight take about as long as one; q517-cli waits on its lines and does not spin.
#include "BenchPrograms.h"
#include "model/CamFileWriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Targets = 8;

struct Run {
    bool ok = false;
    double wallS = 0;
    double cpuS = 0;
};

Run send(const QString& program, const QStringList& targets, const QString& home) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    cli.setProcessEnvironment(env);
    // The progress lines are not what is measured.
    cli.setStandardErrorFile(QProcess::nullDevice());
    cli.setStandardOutputFile(QProcess::nullDevice());
    const double cpuBefore = BenchPrograms::CpuSecondsOfChildren();
    QElapsedTimer timer;
    timer.start();
    cli.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-cli"),
              QStringList{QStringLiteral("send"), program, QStringLiteral("--baud"),
                          QStringLiteral("9600")} +
                  targets);
    Run run;
    run.ok = cli.waitForFinished(600000) && cli.exitStatus() == QProcess::NormalExit &&
             cli.exitCode() == 0;
    run.wallS = double(timer.nsecsElapsed()) / 1e9;
    run.cpuS = BenchPrograms::CpuSecondsOfChildren() - cpuBefore;
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString program = home.filePath(QStringLiteral("FULL.CAM"));
    if (!WriteCamFile(BenchPrograms::FullProgram(24, 28), program, false))
        return 1;
    const QString prefix = home.filePath(QStringLiteral("COM"));
    QProcess sim;
    sim.setStandardErrorFile(QProcess::nullDevice());
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-sim"),
              {QStringLiteral("--type"), QStringLiteral("24-28"), QStringLiteral("--pace"),
               QStringLiteral("--baud"), QStringLiteral("9600"), QStringLiteral("--count"),
               QString::number(Targets), QStringLiteral("--link"), prefix});
    if (!sim.waitForStarted(10000))
        return 1;
    QElapsedTimer started;
    started.start();
    while (sim.bytesAvailable() < Targets * 2 && started.elapsed() < 10000)
        sim.waitForReadyRead(1000);

    QStringList all;
    for (int k = 1; k <= Targets; ++k)
        all += QStringList{QStringLiteral("--device"), prefix + QString::number(k)};
    // One target is the single-controller command, the time the line is held against.
    const Run one = send(program, all.mid(0, 2), home.path());
    const Run eight = send(program, all, home.path());
    const double peakMiB = BenchPrograms::PeakMiBOfChildren();
    sim.terminate();
    sim.waitForFinished(5000);

    const double over = (eight.wallS / one.wallS - 1) * 100;
    std::printf("BENCH line send C24-28 at 9600, 1 target wall | %.2f s%s | -\n", one.wallS,
                one.ok ? "" : " (FAILED)");
    std::printf("BENCH line send C24-28 at 9600, %d targets wall | %.2f s, %+.1f%% of one "
                "target's%s | within 15%% of one target's\n",
                Targets, eight.wallS, over, eight.ok ? "" : " (FAILED)");
    std::printf("BENCH line send, %d targets: cpu of q517-cli | %.2f s, %.1f%% of wall | under 5%% "
                "of wall\n",
                Targets, eight.cpuS, eight.cpuS / eight.wallS * 100);
    std::printf("BENCH line send, %d targets: peak resident memory of q517-cli | %.1f MiB | "
                "under 64 MB\n",
                Targets, peakMiB);
    return one.ok && eight.ok ? 0 : 1;
}
