#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The serial line to the controller, as the protocol needs it. The real one is a
// QSerialPort; the tests drive a scripted controller through the same interface. Only
// ControllerLink talks to it.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    enum class Opened {
        Yes,
        InUse,  // another program (or another of our links) holds the device
        Failed, // any other cause, in errorText
    };
    // Opens the device at the given path; errorText gets the OS cause when it fails.
    virtual Opened open(const QString& device, QString* errorText) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Speed in bit/s; the line is always no parity, 8 data bits, 1 stop bit.
    virtual bool setBaudRate(int baud) = 0;
    virtual void setHardwareFlowControl(bool on) = 0;
    // A device without modem-control lines (a pseudo-terminal) counts as CTS asserted.
    virtual bool ctsAsserted() const = 0;
    // Why the line did not take the last speed or flow control (a network port's server
    // answered otherwise or not at all); empty when it took them.
    virtual QString settingsCause() const { return QString(); }

    virtual int bytesWaiting() = 0;
    // One byte, waiting on the port at most timeoutMs; nothing when the deadline passed or
    // the line broke.
    virtual std::optional<uint8_t> readByte(int timeoutMs) = 0;
    // The OS cause once the open line has broken (the other end hung up, the device vanished,
    // a read failed); empty while it works. A broken line reads nothing, at once.
    virtual QString brokenCause() const = 0;
    virtual bool write(const QByteArray& bytes) = 0;
    // Blocks until written bytes have left, at most timeoutMs.
    virtual bool flush(int timeoutMs) = 0;
    virtual void clearInput() = 0;
    virtual void discardOutput() = 0;
};
