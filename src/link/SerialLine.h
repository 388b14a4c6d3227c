#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The serial line to the controller, as the protocol needs it. The real one is a
// QSerialPort; the tests drive a scripted controller through the same interface.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // Opens the device at the given path; false with errorText set when it fails.
    virtual bool open(const QString& device, QString* errorText) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Speed in bit/s; the line is always no parity, 8 data bits, 1 stop bit.
    virtual bool setBaudRate(int baud) = 0;
    virtual void setHardwareFlowControl(bool on) = 0;
    // A device without modem-control lines (a pseudo-terminal) counts as CTS asserted.
    virtual bool ctsAsserted() const = 0;

    virtual int bytesWaiting() = 0;
    // One byte, waiting on the port at most timeoutMs; nothing when the deadline passed.
    virtual std::optional<uint8_t> readByte(int timeoutMs) = 0;
    virtual bool write(const QByteArray& bytes) = 0;
    // Blocks until written bytes have left, at most timeoutMs.
    virtual bool flush(int timeoutMs) = 0;
    virtual void clearInput() = 0;
    virtual void discardOutput() = 0;
};
