#pragma once

#include <QByteArray>

// The three forms that travel on the line to the controller, byte for byte. Both the
// program and the simulator build and check them here.
namespace LineCodec {
constexpr char Stx = 0x02;
constexpr char Etx = 0x03;
constexpr char Enq = 0x05;
constexpr char Ack = 0x06;
constexpr char Cr = 0x0D;
constexpr char Nak = 0x15;

// Command line ("?M", "?T", ":FU"): the sum of the character codes in upper-case
// hexadecimal without leading zeros, of which the last two digits are kept.
QByteArray LineChecksum(const QByteArray& command);
// Transfer command ("?FR", "?FW"): one character, the low byte of the sum of the codes,
// raised by 32 when below 32.
char TransferCheckChar(const QByteArray& command);
// Frame block check over a frame starting with STX: the exclusive-or of every byte after
// the STX up to and including the ETX (or the end), raised by 32 when below 32, so that it
// can never be taken for STX or ETX.
int FrameCheckChar(const QByteArray& frame);
// STX, text, ETX and its block check.
QByteArray BuildFrame(const QByteArray& text);
// The text of a complete frame (STX text ETX check) whose block check is right.
bool ParseFrame(const QByteArray& frame, QByteArray* text);
// Command + checksum + CR, and command + check character + CR.
QByteArray CommandLine(const QByteArray& command);
QByteArray TransferCommand(const QByteArray& command);
} // namespace LineCodec

// Appends the checksum digits and CR to command and returns the result.
QByteArray AppendLineChecksum(QByteArray& command);
// The check character of a transfer command, as one character.
QByteArray CommandCheckChar(const QByteArray& command);
using LineCodec::FrameCheckChar;
