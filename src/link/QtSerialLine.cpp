#include "link/QtSerialLine.h"

#include "link/LineCauses.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <poll.h>
#endif

SerialLine::Opened QtSerialLine::open(const QString& device, QString* errorText) {
    if (port_.isOpen())
        port_.close();
    broken_.clear();
    if (!lockDeviceBehind(device)) {
        if (errorText)
            *errorText = QCoreApplication::translate("QSerialPort",
                                                     "Permission error while locking the device");
        return Opened::InUse;
    }
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        deviceLock_.reset();
        if (errorText)
            *errorText = port_.errorString();
        // Qt reports a device held by another program as a refused permission: its lock
        // file is taken ("... while locking the device") or it is opened exclusively
        // ("... busy"); its text names the cause either way.
        const QString cause = port_.errorString();
        const bool busy = port_.error() == QSerialPort::PermissionError &&
                          (cause.contains(QLatin1String("busy"), Qt::CaseInsensitive) ||
                           cause.contains(QLatin1String("locking"), Qt::CaseInsensitive));
        return busy ? Opened::InUse : Opened::Failed;
    }
    port_.setReadBufferSize(ReadBufferBytes);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    return Opened::Yes;
}

void QtSerialLine::close() {
    if (port_.isOpen())
        port_.close();
    deviceLock_.reset();
}

// The serial port locks a device under the name it is opened by, so a port link and the
// device it leads to would take two locks, and two programs could share one line (root is not
// stopped by the exclusive open either). Through a link, the lock the device's own name takes
// is held too, made as the serial port makes it, so that a program holding either is seen.
bool QtSerialLine::lockDeviceBehind(const QString& link) {
    deviceLock_.reset();
    const QFileInfo named(link);
    const QString device = named.canonicalFilePath();
    if (!named.isSymLink() || device.isEmpty())
        return true;
    QString lockName = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    lockName.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char* folder : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp",
                               "/tmp", "/var/tmp", "/var/lock/lockdev", "/run/lock"}) {
        const QFileInfo dir(QString::fromLatin1(folder));
        const QString path = dir.filePath() + QStringLiteral("/LCK..") + lockName;
        if (!dir.isReadable() || !(QFile::exists(path) || dir.isWritable()))
            continue;
        auto lock = std::make_unique<QLockFile>(path);
        if (!lock->tryLock(0))
            return false;
        deviceLock_ = std::move(lock);
        return true;
    }
    return true; // nowhere to lock: the serial port will say so for the link's own lock
}

bool QtSerialLine::setBaudRate(int baud) {
    return port_.setBaudRate(baud);
}

void QtSerialLine::setHardwareFlowControl(bool on) {
    port_.setFlowControl(on ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
}

bool QtSerialLine::ctsAsserted() const {
    if (!port_.isOpen())
        return false;
    const QSerialPort::PinoutSignals pins = port_.pinoutSignals();
    // A pseudo-terminal has no modem-control lines: Qt reports an error and no signals.
    if (port_.error() == QSerialPort::UnsupportedOperationError) {
        port_.clearError();
        return true;
    }
    return pins.testFlag(QSerialPort::ClearToSendSignal);
}

int QtSerialLine::bytesWaiting() {
    if (!port_.isOpen())
        return 0;
    if (port_.bytesAvailable() == 0)
        waitForBytes(0);
    return int(port_.bytesAvailable());
}

void QtSerialLine::noteReadError() {
    const QSerialPort::SerialPortError error = port_.error();
    if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError)
        broken_ = port_.errorString();
}

void QtSerialLine::waitForBytes(int timeoutMs) {
#ifdef Q_OS_UNIX
    // QSerialPort's own wait treats a hang-up as "nothing yet" and polls again until its
    // time-out, at full speed: the line's state is read here first.
    pollfd watched{int(port_.handle()), POLLIN, 0};
    if (::poll(&watched, 1, qMax(0, timeoutMs)) <= 0)
        return;
    if (watched.revents & POLLIN) {
        port_.waitForReadyRead(0);
        noteReadError();
    }
    if (port_.bytesAvailable() > 0)
        return;
    // The cause is the line's state, not Qt's text: after a read that found the line hung
    // up, Qt keeps whatever the system said last ("File exists", "Inappropriate ioctl for
    // device"). A hang-up that came while poll was already reporting data shows now.
    short seen = watched.revents;
    if (!broken_.isEmpty()) {
        pollfd again{int(port_.handle()), POLLIN, 0};
        if (::poll(&again, 1, 0) > 0)
            seen |= again.revents;
    }
    if (seen & POLLHUP)
        broken_ = LineCause::HungUp;
    else if (broken_.isEmpty() && (seen & (POLLERR | POLLNVAL)))
        broken_ = LineCause::DeviceFailed;
#else
    port_.waitForReadyRead(qMax(0, timeoutMs));
    noteReadError();
#endif
}

std::optional<uint8_t> QtSerialLine::readByte(int timeoutMs) {
    if (!port_.isOpen() || !broken_.isEmpty())
        return std::nullopt;
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (port_.bytesAvailable() == 0) {
        waitForBytes(int(deadline.remainingTime()));
        if (port_.bytesAvailable() > 0)
            break;
        if (!broken_.isEmpty() || deadline.hasExpired())
            return std::nullopt;
    }
    char c = 0;
    if (port_.read(&c, 1) != 1)
        return std::nullopt;
    return static_cast<uint8_t>(c);
}

bool QtSerialLine::write(const QByteArray& bytes) {
    if (!port_.isOpen() || !broken_.isEmpty())
        return false;
    return port_.write(bytes) == bytes.size();
}

bool QtSerialLine::flush(int timeoutMs) {
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (port_.isOpen() && broken_.isEmpty() && port_.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !port_.waitForBytesWritten(int(deadline.remainingTime())))
            return port_.bytesToWrite() == 0;
    }
    return port_.bytesToWrite() == 0;
}

void QtSerialLine::clearInput() {
    if (port_.isOpen()) {
        port_.clear(QSerialPort::Input);
        port_.readAll();
    }
}

void QtSerialLine::discardOutput() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
}
