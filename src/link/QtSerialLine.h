#pragma once

#include "link/SerialLine.h"

#include <QSerialPort>

// The serial line over a real port (or a pseudo-terminal) through QSerialPort.
class QtSerialLine : public SerialLine {
public:
    bool open(const QString& device, QString* errorText) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool setBaudRate(int baud) override;
    void setHardwareFlowControl(bool on) override;
    bool ctsAsserted() const override;
    int bytesWaiting() override;
    std::optional<uint8_t> readByte(int timeoutMs) override;
    bool write(const QByteArray& bytes) override;
    bool flush(int timeoutMs) override;
    void clearInput() override;
    void discardOutput() override;

private:
    mutable QSerialPort port_;
};
