#pragma once

#include "link/SerialLine.h"

#include <QLockFile>
#include <QSerialPort>

#include <memory>

// The serial line over a real port (or a pseudo-terminal) through QSerialPort.
class QtSerialLine : public SerialLine {
public:
    // What the port keeps of bytes not yet read: a controller that floods the line is
    // throttled by the line, not by our memory.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;

    Opened open(const QString& device, QString* errorText) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool setBaudRate(int baud) override;
    void setHardwareFlowControl(bool on) override;
    bool ctsAsserted() const override;
    int bytesWaiting() override;
    std::optional<uint8_t> readByte(int timeoutMs) override;
    QString brokenCause() const override { return broken_; }
    bool write(const QByteArray& bytes) override;
    bool flush(int timeoutMs) override;
    void clearInput() override;
    void discardOutput() override;

private:
    // Waits at most timeoutMs for bytes to read into the port's buffer; notes a broken line.
    void waitForBytes(int timeoutMs);
    void noteReadError();
    bool lockDeviceBehind(const QString& link);

    mutable QSerialPort port_;
    // The lock of the device a port link leads to, held while the port is open by the link.
    std::unique_ptr<QLockFile> deviceLock_;
    QString broken_;
};
