#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>

class LanguageTexts;

// The telnet bytes a network serial port speaks (RFC 854, 856, 858) and the com port control
// commands of RFC 2217 that set the serial line behind it.
namespace Telnet {
constexpr uint8_t IAC = 255;
constexpr uint8_t DONT = 254;
constexpr uint8_t DO = 253;
constexpr uint8_t WONT = 252;
constexpr uint8_t WILL = 251;
constexpr uint8_t SB = 250;
constexpr uint8_t SE = 240;

constexpr uint8_t Binary = 0;
constexpr uint8_t SuppressGoAhead = 3;
constexpr uint8_t ComPortOption = 44;

// The bytes as they stand.
QByteArray Bytes(std::initializer_list<uint8_t> bytes);
// Data for the line with every 0xFF doubled, so that none is taken for a command.
QByteArray EscapeData(const QByteArray& data);
// IAC command option.
QByteArray OptionCommand(uint8_t command, uint8_t option);
} // namespace Telnet

namespace ComPort {
// What the client asks; the server answers each with the code raised by ServerOffset.
enum Command : uint8_t {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    NotifyModemState = 7,
    SetModemStateMask = 11,
    PurgeData = 12,
};
constexpr uint8_t ServerOffset = 100;

constexpr uint8_t ParityNone = 1;
constexpr uint8_t OneStopBit = 1;
constexpr uint8_t NoFlowControl = 1;
constexpr uint8_t HardwareFlowControl = 3;
constexpr uint8_t PurgeReceived = 1;    // what the server has read from the device
constexpr uint8_t PurgeTransmitted = 2; // what the server has not yet written to it
constexpr uint8_t ModemCts = 0x10;
// Clear to send, data set ready, ring and carrier: a state with none of them set comes from a
// device without modem-control lines.
constexpr uint8_t ModemLines = 0xF0;

// IAC SB COM-PORT-OPTION command value IAC SE, the value's 0xFF doubled.
QByteArray Request(Command command, const QByteArray& value);
QByteArray BaudValue(int baud);
// The server's answer to command, taken from a COM-PORT-OPTION subnegotiation: its value, or
// nothing when the payload answers another command.
std::optional<QByteArray> AnswerTo(Command command, const QByteArray& payload);
// What a set command's value means to the operator ("speed 9600", "8 data bits"), in the
// words of texts; a value we never ask for is named by its command ("SET-PARITY 2").
QString Describe(Command command, const QByteArray& value, const LanguageTexts& texts);
} // namespace ComPort
