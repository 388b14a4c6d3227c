#include "support/SimProcess.h"
#include "Q517Paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

QString SimProcess::SimBinary() {
    return QStringLiteral(Q517_BINARY_DIR "/tools/q517-sim");
}

QString SimProcess::CliBinary() {
    return QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli");
}

SimProcess::SimProcess(const QStringList& arguments, int startMs, int links) {
    process_.setStandardErrorFile(logDir_.filePath(QStringLiteral("q517-sim.log")));
    process_.start(SimBinary(), arguments);
    if (!process_.waitForStarted(startMs))
        return;
    QDeadlineTimer deadline(startMs);
    while (devicePaths_.size() < links) {
        while (!process_.canReadLine() && !deadline.hasExpired() &&
               process_.state() == QProcess::Running)
            process_.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        if (!process_.canReadLine())
            return;
        devicePaths_.append(QString::fromLocal8Bit(process_.readLine()).trimmed());
        devicePath_ = devicePaths_.first();
    }
}

SimProcess::~SimProcess() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

bool SimProcess::stop(int waitMs) {
    if (process_.state() == QProcess::NotRunning)
        return false;
    process_.terminate();
    if (!process_.waitForFinished(waitMs)) {
        process_.kill();
        process_.waitForFinished(waitMs);
        return false;
    }
    return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
}

QString SimProcess::errorOutput() {
    QFile log(logDir_.filePath(QStringLiteral("q517-sim.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

QByteArray SimProcess::ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray SimProcess::WaitForStored(const QString& path, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!ReadFile(path).endsWith("END\r\n") && !deadline.hasExpired())
        QTest::qWait(50);
    return ReadFile(path);
}
