// The line when the controller misbehaves. Hang-up: q517-sim is killed in the middle of a
// paced reception and of a paced flash; q517-cli must end within 0.5 s of it, using under 0.1 s of
// CPU in all (it waits, it does not spin). Flood: a controller that answers "?FR" with valid
// frames as fast as the line takes them, for --flood-seconds (default 60); the resident
// memory of q517-cli must stay under 64 MB. Garbage: the same with bytes that never begin a
// frame; q517-cli must end by itself, well within the 60 s, under 64 MB.
// usage: bench_linefaults [--flood-seconds N]
#include "FirmwareImages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QString toolPath(const char* name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/") +
           QString::fromLatin1(name);
}

rusage childrenUsage() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage;
}

double cpuSeconds(const rusage& u) {
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void startCli(QProcess& cli, const QStringList& args, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home);
    cli.setProcessEnvironment(env);
    cli.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cli.start(toolPath("q517-cli"), args);
}

// Kills the simulator after runMs of the command and measures how q517-cli takes it.
bool hangUp(const QString& what, const QStringList& simArgs, const QStringList& cliArgs,
            int runMs) {
    QTemporaryDir home;
    const QString link = home.filePath(QStringLiteral("COM"));
    QProcess sim;
    sim.start(toolPath("q517-sim"), QStringList{QStringLiteral("--link"), link} + simArgs);
    if (!sim.waitForStarted(10000) || !sim.waitForReadyRead(10000))
        return false;
    QProcess cli;
    const double cpuBefore = cpuSeconds(childrenUsage());
    startCli(cli, cliArgs + QStringList{QStringLiteral("--device"), link}, home.path());
    if (cli.waitForFinished(runMs)) {
        std::printf("BENCH hang-up during %s | q517-cli ended before the hang-up | -\n",
                    qPrintable(what));
        return false;
    }
    sim.kill();
    QElapsedTimer sinceHangUp;
    sinceHangUp.start();
    sim.waitForFinished(5000);
    // Reaps the simulator before the command, so the CPU counted after it is the command's.
    const double cpuSim = cpuSeconds(childrenUsage()) - cpuBefore;
    const bool ended = cli.waitForFinished(30000);
    const double endS = double(sinceHangUp.nsecsElapsed()) / 1e9;
    const double cpuCli = cpuSeconds(childrenUsage()) - cpuBefore - cpuSim;
    std::printf("BENCH hang-up during %s: q517-cli ends after | %.3f s, exit %d | < 0.5 s\n",
                qPrintable(what), endS, ended ? cli.exitCode() : -1);
    std::printf("BENCH hang-up during %s: CPU of q517-cli, whole run | %.3f s | < 0.1 s\n",
                qPrintable(what), cpuCli);
    std::fflush(stdout);
    return ended;
}

// A controller on a pseudo-terminal of our own: it answers the identification of a C24-28
// and then floods the chunk (frames of one cam line, or garbage) without waiting for any ACK.
class FloodingController {
public:
    bool open() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        return master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0;
    }
    QString device() const { return QString::fromLatin1(ptsname(master_)); }
    ~FloodingController() {
        if (master_ >= 0)
            ::close(master_);
    }
    // Serves until the command ends or seconds have passed; returns the bytes flooded.
    long long serve(QProcess& cli, int seconds, const QByteArray& chunk) {
        QElapsedTimer timer;
        timer.start();
        QByteArray heard;
        bool flooding = false;
        long long flooded = 0;
        while (timer.elapsed() < seconds * 1000LL && cli.state() != QProcess::NotRunning) {
            pollfd fd{master_, short(POLLIN | (flooding ? POLLOUT : 0)), 0};
            ::poll(&fd, 1, 100);
            char buffer[512];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got > 0) {
                heard.append(buffer, got);
                if (heard.contains("?M8C\r")) {
                    writeAll("24 28                ITALY-ABCDEFGHI\r");
                    heard.clear();
                } else if (heard.contains("?T93\r")) {
                    writeAll("SIM_C517-V1.00\r");
                    heard.clear();
                } else if (heard.contains("?FR")) {
                    flooding = true;
                    heard.clear();
                }
                if (heard.size() > 4096)
                    heard.clear();
            }
            if (flooding && (fd.revents & POLLOUT)) {
                const ssize_t put = ::write(master_, chunk.constData(), size_t(chunk.size()));
                if (put > 0)
                    flooded += put;
            }
            cli.waitForFinished(0);
        }
        return flooded;
    }

    static QByteArray frameOf(const QByteArray& text) {
        QByteArray frame = "\x02" + text + "\x03";
        unsigned check = 0;
        for (qsizetype i = 1; i < frame.size(); ++i)
            check ^= uint8_t(frame[i]);
        frame += char(check < 32 ? check + 32 : check);
        return frame;
    }

private:
    void writeAll(const QByteArray& bytes) {
        for (qsizetype sent = 0; sent < bytes.size();) {
            const ssize_t put =
                ::write(master_, bytes.constData() + sent, size_t(bytes.size() - sent));
            if (put > 0)
                sent += put;
            else if (errno != EAGAIN)
                return;
        }
    }
    int master_ = -1;
};

bool flood(int seconds, bool garbage) {
    QTemporaryDir home;
    FloodingController controller;
    if (!controller.open())
        return false;
    QByteArray chunk;
    const QByteArray frame = FloodingController::frameOf("C 01 030 090");
    while (chunk.size() < 8192)
        chunk += garbage ? QByteArray("garbage no frame ") : frame;
    const char* what = garbage ? "garbage" : "valid frames";
    const double cpuBefore = cpuSeconds(childrenUsage());
    QProcess cli;
    QElapsedTimer timer;
    timer.start();
    startCli(cli,
             {QStringLiteral("receive"), home.filePath(QStringLiteral("BACK.CAM")),
              QStringLiteral("--device"), controller.device()},
             home.path());
    if (!cli.waitForStarted(10000))
        return false;
    const long long flooded = controller.serve(cli, seconds, chunk);
    const bool endedItself = cli.state() == QProcess::NotRunning;
    if (!endedItself) {
        cli.terminate();
        cli.waitForFinished(10000);
    }
    const double wallS = double(timer.nsecsElapsed()) / 1e9;
    // Only this child is left to be counted: its peak resident set, in KiB.
    const long peakKiB = childrenUsage().ru_maxrss;
    std::printf("BENCH flood of %s, %d s offered: q517-cli %s after | %.1f s, exit %d, %lld "
                "bytes flooded | %s\n",
                what, seconds, endedItself ? "ended by itself" : "still listening, stopped", wallS,
                endedItself ? cli.exitCode() : -1, flooded, garbage ? "ends" : "-");
    std::printf("BENCH flood of %s: peak resident memory of q517-cli (largest child so far) | "
                "%.1f MiB | < 64 MB\n",
                what, double(peakKiB) / 1024);
    std::printf("BENCH flood of %s: CPU of q517-cli | %.2f s | -\n", what,
                cpuSeconds(childrenUsage()) - cpuBefore);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int floodSeconds = 60;
    const QStringList args = app.arguments();
    const qsizetype option = args.indexOf(QStringLiteral("--flood-seconds"));
    if (option > 0 && option + 1 < args.size())
        floodSeconds = std::max(1, args.at(option + 1).toInt());

    // At 2400 baud even an empty C8-89 program takes seconds: the hang-up comes mid-stream.
    const QTemporaryDir scratch;
    bool ok = hangUp(QStringLiteral("a reception"),
                     {QStringLiteral("--type"), QStringLiteral("08-89"), QStringLiteral("--pace"),
                      QStringLiteral("--baud"), QStringLiteral("2400")},
                     {QStringLiteral("receive"), scratch.filePath(QStringLiteral("BACK.CAM")),
                      QStringLiteral("--baud"), QStringLiteral("2400")},
                     2500);
    // A paced flash of a 525-line image at 9600 baud takes about 26 s; the hang-up comes 4 s in.
    const QString image = scratch.filePath(QStringLiteral("firmware.hex"));
    QFile imageFile(image);
    if (!imageFile.open(QIODevice::WriteOnly) ||
        imageFile.write(FirmwareImages::Image(23 * 1024)) < 0)
        return 1;
    imageFile.close();
    ok = hangUp(QStringLiteral("a flash"), {QStringLiteral("--pace")},
                {QStringLiteral("flash"), image, QStringLiteral("--yes")}, 4000) &&
         ok;
    ok = flood(floodSeconds, false) && ok;
    ok = flood(floodSeconds, true) && ok;
    return ok ? 0 : 1;
}
