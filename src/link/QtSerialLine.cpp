#include "link/QtSerialLine.h"

#include <QDeadlineTimer>

bool QtSerialLine::open(const QString& device, QString* errorText) {
    if (port_.isOpen())
        port_.close();
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        if (errorText)
            *errorText = port_.errorString();
        return false;
    }
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void QtSerialLine::close() {
    if (port_.isOpen())
        port_.close();
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
        port_.waitForReadyRead(0);
    return int(port_.bytesAvailable());
}

std::optional<uint8_t> QtSerialLine::readByte(int timeoutMs) {
    if (!port_.isOpen())
        return std::nullopt;
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (port_.bytesAvailable() == 0) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 && deadline.hasExpired()) {
            if (!port_.waitForReadyRead(0))
                return std::nullopt;
            break;
        }
        if (!port_.waitForReadyRead(int(left)) && deadline.hasExpired())
            return std::nullopt;
        if (port_.error() == QSerialPort::ResourceError)
            return std::nullopt;
    }
    char c = 0;
    if (port_.read(&c, 1) != 1)
        return std::nullopt;
    return static_cast<uint8_t>(c);
}

bool QtSerialLine::write(const QByteArray& bytes) {
    if (!port_.isOpen())
        return false;
    return port_.write(bytes) == bytes.size();
}

bool QtSerialLine::flush(int timeoutMs) {
    QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (port_.isOpen() && port_.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !port_.waitForBytesWritten(int(deadline.remainingTime())))
            return port_.bytesToWrite() == 0;
    }
    return true;
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
