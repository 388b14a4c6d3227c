#pragma once

#include "link/LinkState.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

class Clock;
class LanguageTexts;
class SerialLine;

struct LinkOpening {
    LinkStatus status = LinkStatus::NoSuchPort;
    QString device; // the device path tried (empty when the port number names none)
    QString cause;  // the OS cause, or what was wrong, for the operator
    bool ready() const { return status == LinkStatus::Ready; }
    bool opened() const { return status == LinkStatus::Ready || status == LinkStatus::NotReady; }
};

// What one read of the line gave.
struct LinkRead {
    enum Kind { Byte, Silent, Broken } kind = Silent;
    uint8_t byte = 0;
    bool gotByte() const { return kind == Byte; }
};

// The one owner of the line to one controller: it holds the SerialLine, the clock and what
// the line remembers between exchanges (state). Every wait of the protocol is a read with a
// deadline here; a line that breaks (hang-up, vanished device, read error) ends the wait at
// once and keeps its cause. Several links live at once, one per controller.
class ControllerLink {
public:
    // How long written bytes may take to leave.
    static constexpr int FlushMs = 2000;
    // Between two slices of a wait the caller's hook runs (a window repaints).
    static constexpr int SliceMs = 50;

    // workDir holds the port links ports/COMn the port numbers map to; texts word what is
    // wrong with a port.
    ControllerLink(SerialLine& line, Clock& clock, QString workDir, const LanguageTexts& texts);
    ControllerLink(const ControllerLink&) = delete;
    ControllerLink& operator=(const ControllerLink&) = delete;

    // Opens port n of the port map (read afresh at every opening), or a device path, at baud
    // (no parity, 8 data bits, 1 stop bit, RTS/CTS). A line already open on that device is
    // used as it is, with the new speed, unless it broke: then it is opened again.
    LinkOpening open(int portNumber, int baud);
    LinkOpening open(const QString& device, int baud);
    void close();
    bool isOpen() const;
    // The device of the open line (or of the last attempt).
    QString device() const { return device_; }

    // One byte before deadlineMs on the link's clock. Broken (with brokenCause) when the line
    // is closed or gone; Silent when the deadline passed. With betweenSlices set, the wait is
    // cut into slices of SliceMs and the hook runs before each one.
    LinkRead read(int64_t deadlineMs, const std::function<void()>& betweenSlices = {});
    QString brokenCause() const;

    // Writes bytes and waits until they have left; false when they could not go.
    bool send(const QByteArray& bytes);
    bool setBaudRate(int baud);
    void setHardwareFlowControl(bool on);
    bool ctsAsserted() const;
    void clearInput();
    void discardOutput();

    Clock& clock() { return clock_; }
    const QString& workDir() const { return workDir_; }

    // The controller's last answers and the result of the last opening, for the windows.
    LinkState state;

private:
    SerialLine& line_;
    Clock& clock_;
    QString workDir_;
    const LanguageTexts& texts_;
    QString device_;
};

// The operator's words for an opening that did not give a ready controller.
QString LinkStatusText(const LinkOpening& opening);
