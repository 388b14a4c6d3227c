#pragma once

#include "link/ControllerLink.h"
#include "link/ProgressObserver.h"

#include <QByteArray>

#include <functional>

class LanguageTexts;

struct LinkContext;

// The conversation with the controller over one line. Every wait counts on the link's
// monotonic clock and blocks on the line with a deadline; nothing here spins.
namespace LineTiming {
// Silence after which the controller counts as gone; every character restarts it.
constexpr int SilenceMs = 3000;
// A frame or a reply line must be whole within this long of its wait's start, however its
// bytes trickle in: a line that sends one byte a second never ends otherwise.
constexpr int WholeMs = 10000;
// One frame is sent at most this often: a controller answering garbage cannot hang us.
constexpr int MaxFrameSendings = 10;
} // namespace LineTiming

// Opens the port of PortNumber (or the link's device override) at BaudRate, no parity,
// 8 data bits, 1 stop bit, RTS/CTS, and sets PortStatus: Ready when the controller asserts
// CTS (port left open), else the port is closed again and PortStatus says why, with the OS
// cause in OpenCause. Nothing is shown: the caller tells it.
LinkOpening OpenSerialPort(const LinkContext& context);

// The deadline of the next byte of a frame or reply line whose wait began at startMs: 3000 ms
// of silence, and never later than WholeMs after the start.
int64_t NextByteDeadline(ControllerLink& link, int64_t startMs);
void CloseSerialPort(ControllerLink& link);

// The line of a transfer: opened as above, closed again when the transfer goes out of scope.
// A port that will not open is told to the observer as "COMM ERR <n>"; opened() is false.
class TransferPort {
public:
    TransferPort(const LinkContext& context, ProgressObserver& progress);
    ~TransferPort();
    TransferPort(const TransferPort&) = delete;
    TransferPort& operator=(const TransferPort&) = delete;
    bool opened() const { return opened_; }

private:
    ControllerLink& link_;
    bool opened_ = false;
};

// Sends command as a checksummed command line (command becomes the line actually sent)
// and returns the reply line with its CR; empty after 3000 ms of silence, 10 s without a
// whole line, a broken line or
// a reply of more than 4096 characters, with ReadFailed set and why (when given) saying
// which, in the words of the moment it happened. Window events run while waiting.
QByteArray SerialComStr(const LinkContext& context, QByteArray& command, QString* why = nullptr);

// What one wait for a reply line gave.
struct ReplyLine {
    enum Kind {
        Line,    // bytes: the line with its CR
        Silent,  // 3000 ms without a character
        Late,    // no whole line within 10 s of the wait's start
        Broken,  // the line broke (ControllerLink::brokenCause)
        TooLong, // more than 4096 characters without a CR: no controller answers so
    } kind = Silent;
    QByteArray bytes;
};
// Reads one reply line; NUL bytes are dropped. Every byte is awaited until NextByteDeadline.
// waiting runs between the slices of every wait.
ReplyLine ReceiveReplyLine(ControllerLink& link, const std::function<void()>& waiting);

// Sends text as one frame until the controller answers ACK, at most ten times; false after
// 3000 ms of silence, a broken line, or the tenth answer that is not ACK. waiting runs
// between the slices of every wait.
bool SendFrame(ControllerLink& link, const QByteArray& text, const std::function<void()>& waiting);

// What one wait for a frame gave.
struct ReceivedFrame {
    enum Kind {
        Frame,    // bytes: its text
        BadCheck, // bytes: the frame as it came (STX to check); acknowledged all the same
        Silent,   // 3000 ms without a character, or 10 s without a whole frame: nothing
                  // acknowledged
        Broken,   // the line broke (ControllerLink::brokenCause)
        TooLong,  // bytes: more than 4096 characters from STX without an end, or more
                  // than 4096 before any STX
        Stopped,  // the operator stopped while it was on its way
    } kind = Silent;
    QByteArray bytes;
};
// Receives one frame and acknowledges it. Bytes before its STX are skipped.
// With stopped given, it is asked before every byte and every SliceMs of the wait: Exit or
// Ctrl+C ends the wait at once, whatever the line sends.
ReceivedFrame ReceiveFrame(ControllerLink& link, const std::function<void()>& waiting,
                           const std::function<bool()>& stopped = {});

// message, and when the line broke rather than fell silent, the device and the OS cause.
QString LineFailureText(const QString& message, const ControllerLink& link,
                        const LanguageTexts& texts);
// The refusal for a wait that ended without an answer: cause (TimedOut, LineUnanswered) when
// the controller fell silent, LineLost with the device and the OS cause when the line is gone.
// port is the port number the time-out names (the flash update's), 0 for none.
Refusal SilenceRefusal(Refusal::Cause cause, qint64 number, const LinkContext& context,
                       int port = 0);
