#include "link/NetworkSerialLine.h"

#include "model/LanguageTexts.h"

#include <QDeadlineTimer>

// The telnet option negotiation of an rfc2217:// port and the serial line settings made
// through the server's com port control (RFC 2217), each confirmed by the server.

using namespace Telnet;

namespace {
// The options we speak: 8-bit data both ways, no go-aheads, and (for rfc2217://) the com
// port control of the server.
bool OursToDo(uint8_t option) {
    return option == Binary || option == SuppressGoAhead || option == ComPortOption;
}
bool TheirsToDo(uint8_t option) {
    return option == Binary || option == SuppressGoAhead;
}
// Bit 7 down to 4 of a modem state: carrier, ring, data set ready, clear to send.
QString ModemText(int state, const LanguageTexts& texts) {
    const auto line = [&](int bit) { return (state & bit) ? texts.Text(610) : texts.Text(611); };
    return texts.Text(609).arg(line(0x10), line(0x20), line(0x80));
}
} // namespace

bool NetworkSerialLine::negotiate(QString* errorText) {
    const auto fail = [&](const QString& why) {
        QString cause = why;
        const QString said = QString::fromLatin1(greeting_).simplified();
        if (!said.isEmpty())
            cause = texts_.Text(603).arg(cause, said.left(200));
        if (errorText)
            *errorText = cause;
        return false;
    };
    negotiating_ = true;
    for (const uint8_t option : {Binary, SuppressGoAhead, ComPortOption}) {
        askedWill_.set(option);
        sendRaw(OptionCommand(WILL, option));
    }
    for (const uint8_t option : {Binary, SuppressGoAhead}) {
        askedDo_.set(option);
        sendRaw(OptionCommand(DO, option));
    }
    const QDeadlineTimer deadline(answerMs_);
    while (!weDo_.test(ComPortOption) && !comPortRefused_ && broken_.isEmpty() &&
           !deadline.hasExpired())
        pump(int(deadline.remainingTime()));
    if (!broken_.isEmpty())
        return fail(broken_);
    if (comPortRefused_)
        return fail(texts_.Text(604));
    if (!weDo_.test(ComPortOption))
        return fail(texts_.Text(605).arg(answerMs_));
    answers_ << texts_.Text(602).arg(address_.hostAndPort());
    // Every modem line and its change: CTS tells whether the controller is ready.
    sendRaw(ComPort::Request(ComPort::SetModemStateMask, QByteArray(1, char(0xFF))));
    const bool set = setAndConfirm(ComPort::SetDataSize, QByteArray(1, char(8))) &&
                     setAndConfirm(ComPort::SetParity, QByteArray(1, char(ComPort::ParityNone))) &&
                     setAndConfirm(ComPort::SetStopSize, QByteArray(1, char(ComPort::OneStopBit)));
    if (!set)
        return fail(broken_.isEmpty() ? refused_ : broken_);
    negotiating_ = false;
    return true;
}

void NetworkSerialLine::answerOption(uint8_t command, uint8_t option) {
    switch (command) {
    case DO:
        if (OursToDo(option)) {
            if (!weDo_.test(option) && !askedWill_.test(option))
                sendRaw(OptionCommand(WILL, option));
            weDo_.set(option);
        } else if (!refusedDo_.test(option)) {
            refusedDo_.set(option);
            sendRaw(OptionCommand(WONT, option));
        }
        break;
    case DONT:
        if (option == ComPortOption)
            comPortRefused_ = true;
        if (weDo_.test(option))
            sendRaw(OptionCommand(WONT, option));
        weDo_.reset(option);
        break;
    case WILL:
        if (TheirsToDo(option)) {
            if (!theyDo_.test(option) && !askedDo_.test(option))
                sendRaw(OptionCommand(DO, option));
            theyDo_.set(option);
        } else if (!refusedWill_.test(option)) {
            refusedWill_.set(option);
            sendRaw(OptionCommand(DONT, option));
        }
        break;
    case WONT:
        theyDo_.reset(option);
        break;
    default:
        break; // NOP, go-ahead and the like carry nothing for the line
    }
}

void NetworkSerialLine::takeComPort(const QByteArray& payload) {
    if (payload.isEmpty())
        return;
    const uint8_t code = uint8_t(payload.at(0));
    if (code == ComPort::NotifyModemState + ComPort::ServerOffset && payload.size() >= 2) {
        const int state = uint8_t(payload.at(1));
        if (modemState_ < 0 || ((modemState_ ^ state) & ComPort::ModemLines))
            answers_ << ModemText(state, texts_);
        modemState_ = state;
        return;
    }
    if (code > ComPort::ServerOffset)
        lastAnswer_[uint8_t(code - ComPort::ServerOffset)] = payload.mid(1);
}

bool NetworkSerialLine::setAndConfirm(ComPort::Command command, const QByteArray& value) {
    lastAnswer_.erase(command);
    sendRaw(ComPort::Request(command, value));
    const QDeadlineTimer deadline(answerMs_);
    while (!lastAnswer_.count(command) && broken_.isEmpty() && !deadline.hasExpired())
        pump(int(deadline.remainingTime()));
    if (!broken_.isEmpty())
        return false;
    const auto answer = lastAnswer_.find(command);
    if (answer == lastAnswer_.end()) {
        refused_ = texts_.Text(606).arg(ComPort::Describe(command, value, texts_)).arg(answerMs_);
        return false;
    }
    if (answer->second != value) {
        refused_ = texts_.Text(607).arg(ComPort::Describe(command, answer->second, texts_),
                                        ComPort::Describe(command, value, texts_));
        return false;
    }
    answers_ << ComPort::Describe(command, value, texts_);
    refused_.clear();
    return true;
}

bool NetworkSerialLine::setBaudRate(int baud) {
    if (!open_ || baud <= 0)
        return false;
    baud_ = baud;
    if (address_.kind == NetworkAddress::Kind::RawTcp)
        return true; // the server keeps the speed it was set up with
    return setAndConfirm(ComPort::SetBaudRate, ComPort::BaudValue(baud));
}

void NetworkSerialLine::setHardwareFlowControl(bool on) {
    if (!open_ || address_.kind == NetworkAddress::Kind::RawTcp)
        return;
    setAndConfirm(ComPort::SetControl,
                  QByteArray(1, char(on ? ComPort::HardwareFlowControl : ComPort::NoFlowControl)));
}

bool NetworkSerialLine::ctsAsserted() const {
    if (!open_)
        return false;
    if (address_.kind == NetworkAddress::Kind::RawTcp || modemState_ < 0)
        return true;
    // A device without modem-control lines (a pseudo-terminal behind the server) reports
    // every line off: it counts as ready, as it does on a local port.
    return (modemState_ & ComPort::ModemCts) || !(modemState_ & ComPort::ModemLines);
}
