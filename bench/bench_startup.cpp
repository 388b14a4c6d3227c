// Start-up of q517 (offscreen) to its first painted window, with the controller identified
// on a simulated line, and the program's resident memory at that point.
#include "Q517Paths.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 7;
constexpr int WaitMs = 60000;

QString builtProgram(const QString& relative) {
    return QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).filePath(relative);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A simulated 24-cam controller linked as COM9 of workDir; false when it did not come up.
bool startSimulator(QProcess& sim, const QString& workDir) {
    sim.start(builtProgram(QStringLiteral("tools/q517-sim")),
              {QStringLiteral("--workdir"), workDir, QStringLiteral("--port"), QStringLiteral("9"),
               QStringLiteral("--type"), QStringLiteral("24-28")});
    if (!sim.waitForStarted(WaitMs))
        return false;
    QDeadlineTimer deadline(WaitMs);
    while (sim.state() == QProcess::Running && !sim.canReadLine() && !deadline.hasExpired())
        sim.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    return sim.canReadLine();
}

void stopSimulator(QProcess& sim) {
    sim.terminate();
    if (!sim.waitForFinished(5000)) {
        sim.kill();
        sim.waitForFinished(5000);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    // q517 keeps its working directory under the data home and its instance lock in the
    // runtime directory; both are private to this run.
    const QString workDir = home.filePath(QStringLiteral("data/q517"));
    const QString runtimeDir = home.filePath(QStringLiteral("run"));
    QDir().mkpath(workDir);
    QDir().mkpath(runtimeDir);
    QFile::setPermissions(runtimeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile script(QStringLiteral(Q517_SOURCE_DATA_DIR "/q517_EN.SCR"));
    if (!script.open(QIODevice::ReadOnly) ||
        !writeFile(workDir + QStringLiteral("/q517_EN.SCR"), script.readAll()) ||
        !writeFile(workDir + QStringLiteral("/q517_opt.def"), "\"q517_EN.SCR\",9,\"9600\"\r\n")) {
        std::printf("BENCH q517 start-up | FAILED (working directory) | -\n");
        return 1;
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("Q517_QUIT_AFTER_FIRST_PAINT"), QStringLiteral("1"));

    std::vector<double> ms;
    for (int run = 0; run < Runs; ++run) {
        QProcess sim;
        if (!startSimulator(sim, workDir)) {
            std::printf("BENCH q517 start-up | FAILED (simulator) | -\n");
            return 1;
        }
        QProcess q517;
        q517.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        q517.start(builtProgram(QStringLiteral("src/q517")), {});
        const bool ended = q517.waitForFinished(WaitMs);
        const double elapsed = timer.nsecsElapsed() / 1e6;
        if (!ended) {
            q517.kill();
            q517.waitForFinished(5000);
        }
        stopSimulator(sim);
        if (!ended || q517.exitStatus() != QProcess::NormalExit || q517.exitCode() != 0) {
            std::printf("BENCH q517 start-up | FAILED (%s) | -\n",
                        ended ? "exit status" : "no paint within 60 s");
            return 1;
        }
        ms.push_back(elapsed);
    }
    std::sort(ms.begin(), ms.end());
    // The largest of the waited-for children: q517 itself (the simulator is far smaller).
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("BENCH q517 start-up to first painted window, offscreen, controller identified "
                "(median / best of %d) | %.0f ms / %.0f ms | < 2000 ms\n",
                Runs, ms[ms.size() / 2], ms.front());
    std::printf("BENCH q517 peak resident memory at first paint | %.1f MiB | < 150 MiB\n",
                usage.ru_maxrss / 1024.0);
    return 0;
}
