// Firmware image check of a 1 MiB image (the operator waits for it before the update starts),
// and the flash of a 256 KiB image through q517-sim's loader paced as a 38400 baud line.
#include "FirmwareImages.h"
#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "flash/ImageCheck.h"
#include "flash/UpdateRun.h"
#include "link/Clock.h"
#include "link/ProgressObserver.h"
#include "link/QtSerialLine.h"
#include "model/LanguageTexts.h"
#include "shell/Session.h"

#include <QCoreApplication>
#include <QProcess>
#include <sys/resource.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Process CPU time (user + system) in seconds.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The update's own pause showing the result is no part of the exchange.
class NoPauseClock : public SystemClock {
public:
    void sleepMs(int64_t ms) override { paused += ms; }
    int64_t paused = 0;
};

class YesPrompts : public Prompts {
public:
    Answer message(const QString& text, const QString&, Buttons buttons, Icon) override {
        if (text != QLatin1String("UPDATE FLASH ?"))
            std::fprintf(stderr, "%s\n", qPrintable(text));
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void processEvents() override {}
};

class NoDialogs : public CommonDialogBackend {
public:
    bool chooseFile(bool, const CommonDialog&, FileChoice&, int32_t&) override { return false; }
    bool choosePrinter(const CommonDialog&, PrinterChoice&, int32_t&) override { return false; }
};

class QuietProgress : public ProgressObserver {
public:
    void phaseBegun(Phase) override {}
    void counted(const Counters&) override {}
    void done() override {}
    void refused(const Refusal& refusal) override {
        std::fprintf(stderr, "%s\n", qPrintable(refusal.text(LanguageTexts())));
    }
};

// Flashes the image through a paced simulator; false when it could not run.
bool BenchFlash(const QString& image, const QString& dir) {
    const QString sim =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/q517-sim");
    constexpr int EraseMs = 1500;
    constexpr int Baud = 38400;
    QProcess simulator;
    simulator.start(sim,
                    {QStringLiteral("--link"), dir + QStringLiteral("/COM"),
                     QStringLiteral("--cpu"), QStringLiteral("AVR_M1280"), QStringLiteral("--pace"),
                     QStringLiteral("--erase-ms"), QString::number(EraseMs)});
    if (!simulator.waitForStarted(10000) || !simulator.waitForReadyRead(10000))
        return false;
    const QString device = QString::fromLocal8Bit(simulator.readLine()).trimmed();

    YesPrompts prompts;
    NoPauseClock clock;
    NoDialogs dialogs;
    CommonDialog dialog(dialogs);
    QtSerialLine line;
    Session session(prompts, clock, dialog, line, dir);
    session.link.state.DeviceOverride = device;
    QuietProgress progress;
    UpdateRun run(session.linkContext(), progress, image);
    run.setConfirmed(true);

    // The wire floor: every record line with its CR and its ACK, at the fast speed.
    qint64 wireBytes = 0;
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd())
        wireBytes += file.readLine().trimmed().size() + 2;
    const double floorSeconds = double(wireBytes) * 10 / Baud + EraseMs / 1000.0;

    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = CpuSeconds();
    const bool updated = run.Run();
    const double wallSeconds = wall.nsecsElapsed() / 1e9;
    const double cpuSeconds = CpuSeconds() - cpuBefore;
    simulator.terminate();
    if (!simulator.waitForFinished(5000))
        simulator.kill();
    if (!updated)
        return false;
    std::printf(
        "BENCH flash of a 256 KiB image at %d baud: wall / floor (%.1f s) | %.1f s, %+.1f%% "
        "| within 10%%\n",
        Baud, floorSeconds, wallSeconds, (wallSeconds / floorSeconds - 1) * 100);
    std::printf("BENCH flash of a 256 KiB image: CPU / wall | %.2f%% | < 5%%\n",
                cpuSeconds / wallSeconds * 100);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.hex"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(FirmwareImages::Image(1 << 20)) < 0)
        return 1;
    file.close();

    std::vector<double> runs;
    qint64 lines = 0;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        const ImageCheckResult result = CheckImage(path, [](qint64, qint64) {});
        runs.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.passed())
            return 1;
        lines = result.lines;
    }
    std::sort(runs.begin(), runs.end());
    std::printf("BENCH check of a 1 MiB image (%lld lines), median of 15 | %.1f ms | < 50 ms\n",
                static_cast<long long>(lines), runs[runs.size() / 2]);
    std::fflush(stdout);

    const QString image256 = dir.filePath(QStringLiteral("image256.hex"));
    QFile small(image256);
    if (!small.open(QIODevice::WriteOnly) || small.write(FirmwareImages::Image(256 << 10)) < 0)
        return 1;
    small.close();
    if (!BenchFlash(image256, dir.path())) {
        std::fprintf(stderr, "flash through q517-sim did not complete\n");
        return 1;
    }
    return 0;
}
