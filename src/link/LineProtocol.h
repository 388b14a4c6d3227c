#pragma once

#include <QByteArray>

struct Session;

// The conversation with the controller over the Session's one line. Every wait counts on
// the Session's monotonic clock and blocks on the line with a deadline; nothing here spins.
namespace LineTiming {
// Silence after which the controller counts as gone; every character restarts it.
constexpr int SilenceMs = 3000;
// SerialComStr lets the windows repaint between waits of at most this long.
constexpr int EventSliceMs = 50;
// One frame is sent at most this often: a controller answering garbage cannot hang us.
constexpr int MaxFrameSendings = 10;
// The longest frame (and reply line) kept; a longer stream ends it.
constexpr int MaxFrameLength = 4096;
} // namespace LineTiming

// Opens the port of PortNumber (or the Session's device override) at BaudRate, no parity,
// 8 data bits, 1 stop bit, RTS/CTS, and sets PortStatus: 0 when the controller asserts CTS
// (port left open), else the port is closed again and PortStatus is 1. Every failing step
// shows "Errore <n> generato da <component>" titled "Errore su COM<n>".
void OpenSerialPort(Session& session);
void CloseSerialPort(Session& session);

// Sends command as a checksummed command line (command becomes the line actually sent)
// and returns the reply line with its CR; empty after 3000 ms of silence, with
// "COMM ERROR" shown, ReadFailed set and OnCommError run. Window events run while waiting.
QByteArray SerialComStr(Session& session, QByteArray& command);

// Sends text as one frame until the controller answers ACK, at most ten times. After
// 3000 ms of silence, or the tenth answer that is not ACK, shows "TIMEOUT SERIAL PORT "
// and gives the frame up. True when the frame was acknowledged.
bool SendFrame(Session& session, const QByteArray& text);

// Receives one frame and acknowledges it. Returns its text when the block check is right,
// otherwise every character collected (STX, text, ETX, check) unchanged; empty after
// 3000 ms of silence (no ACK then).
QByteArray ReceiveFrame(Session& session);
