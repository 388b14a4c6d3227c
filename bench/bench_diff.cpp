// q517-cli diff of the two largest programs, 180 phases in every cam and one phase moved:
// the whole process, from start to exit status, as a script on a production line sees it.
#include "FullProgram.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

namespace {

// CPU seconds of the children reaped so far.
double cpuSecondsOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Measure(int cams, int formats, const QTemporaryDir& dir) {
    const QString a = dir.filePath(QStringLiteral("A%1.CAM").arg(cams));
    const QString b = dir.filePath(QStringLiteral("B%1.CAM").arg(cams));
    CamProgram program = FullProgram(cams, formats);
    bool ok = WriteCamFile(program, a, false);
    // One phase of the middle format moves by one degree.
    const int format = formats / 2;
    const int on = (format + 1) % 2 + 100;
    program.WriteDegree(format, 1, on, 0);
    program.WriteDegree(format, 1, on + 1, 1);
    ok = WriteCamFile(program, b, false) && ok;

    const QString cli =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-cli");
    const int runs = 9;
    std::vector<double> times;
    std::vector<double> cpu;
    QByteArray out;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        const double cpuBefore = cpuSecondsOfChildren();
        QElapsedTimer timer;
        timer.start();
        process.start(cli, {QStringLiteral("diff"), a, b});
        ok = process.waitForFinished(60000) && process.exitCode() == 1 && ok;
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back((cpuSecondsOfChildren() - cpuBefore) * 1e3);
        out = process.readAllStandardOutput();
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    ok = out.count('\n') == 1 && ok;
    std::printf("BENCH q517-cli diff %dx%d, 180 phases per cam, one phase differing (median / "
                "best of %d) | %s%.0f ms / %.0f ms | < 150 ms\n",
                cams, formats, runs, ok ? "" : "FAILED ", times[runs / 2], times.front());
    // On a machine shared with other work the wall time waits for the CPU; the CPU time does not.
    std::printf("BENCH q517-cli diff %dx%d, CPU time of the process (median of %d) | %.0f ms | < "
                "150 ms\n",
                cams, formats, runs, cpu[runs / 2]);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    Measure(24, 28, dir);
    Measure(8, 89, dir);
    return 0;
}
