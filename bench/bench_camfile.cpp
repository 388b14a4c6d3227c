// Reading and writing the largest cam files: every cam of every format with 180 phases.
// The operator waits for Open and Save, and the transmitter builds the same lines.
#include "FullProgram.h"
#include "model/CamFileReader.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

CamProgram FullProgramWithAdvances(int cams, int formats) {
    CamProgram p = FullProgram(cams, formats);
    p.Parameters.AdvanceCount = int16_t(cams);
    return p;
}

// Median of runs, in nanoseconds.
double MedianNs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Measure(int cams, int formats, const QString& path) {
    const CamProgram program = FullProgramWithAdvances(cams, formats);
    const int lines = CamFileContents(program, false).LineCount();
    const int runs = 9;
    bool ok = true;

    const double build =
        MedianNs(runs, [&] { ok = CamFileContents(program, false).LineCount() > 0 && ok; });
    const double write = MedianNs(runs, [&] { ok = WriteCamFile(program, path, false) && ok; });
    const double read = MedianNs(runs, [&] {
        CamProgram p;
        ok = ReadCamFile(p, path).ok() && ok;
    });
    qint64 bytes = 0;
    const double plain = MedianNs(runs, [&] {
        QFile file(path);
        ok = file.open(QIODevice::ReadOnly) && ok;
        bytes = file.readAll().size();
    });
    if (!ok)
        std::printf("BENCH %dx%d | FAILED | -\n", cams, formats);
    std::printf("BENCH cam file %dx%d write (%d lines, %lld bytes), median of %d | %.0f ns/line "
                "(%.1f ms) | < 300 ns/line\n",
                cams, formats, lines, static_cast<long long>(bytes), runs, write / lines,
                write / 1e6);
    std::printf("BENCH cam file %dx%d text built in memory, median of %d | %.0f ns/line "
                "(%.1f ms) | < 300 ns/line\n",
                cams, formats, runs, build / lines, build / 1e6);
    std::printf("BENCH cam file %dx%d read, median of %d | %.0f ns/line (%.1f ms) | < 300 "
                "ns/line\n",
                cams, formats, runs, read / lines, read / 1e6);
    std::printf("BENCH cam file %dx%d plain QFile::readAll, median of %d | %.1f ns/line "
                "(%.1f ms) | -\n",
                cams, formats, runs, plain / lines, plain / 1e6);
}

} // namespace

int main() {
    QTemporaryDir dir;
    Measure(24, 28, dir.filePath(QStringLiteral("BIG24.CAM")));
    Measure(8, 89, dir.filePath(QStringLiteral("BIG8.CAM")));
    return 0;
}
