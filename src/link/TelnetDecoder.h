#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class LanguageTexts;

// Takes apart the telnet stream of a network serial port as it comes off the socket, whichever
// way the network cuts it: data bytes (IAC IAC is one 0xFF), option commands (WILL, WONT, DO,
// DONT and their option), other commands, and subnegotiations (IAC SB option ... IAC SE). It
// does no I/O. A server that sends a subnegotiation longer than MaxSubnegotiation or one that
// is not closed by IAC SE has a broken line: the decoder says so once and takes nothing more.
class TelnetDecoder {
public:
    // The longest subnegotiation taken (its bytes after the option, IAC doubling undone).
    static constexpr int MaxSubnegotiation = 256;

    enum class Result {
        More,           // nothing complete yet
        Data,           // data() is one byte for the controller's line
        Command,        // command() (with option() for WILL, WONT, DO and DONT)
        Subnegotiation, // option() and payload()
        Broken,         // cause() says what was wrong; every later byte is Broken too
    };

    Result feed(uint8_t byte);
    uint8_t data() const { return data_; }
    uint8_t command() const { return command_; }
    uint8_t option() const { return option_; }
    const QByteArray& payload() const { return payload_; }
    // What broke the line, in the words of texts; empty while the line is whole.
    QString cause(const LanguageTexts& texts) const;
    void reset();

private:
    enum class State { Data, Iac, Option, SubOption, Sub, SubIac, Broken };
    enum class Fault { None, TooLong, Unended };
    Result broken(Fault fault);

    State state_ = State::Data;
    uint8_t data_ = 0;
    uint8_t command_ = 0;
    uint8_t option_ = 0;
    QByteArray payload_;
    Fault fault_ = Fault::None;
};
