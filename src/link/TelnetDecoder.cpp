#include "link/TelnetDecoder.h"

#include "link/ComPortControl.h"
#include "model/LanguageTexts.h"

using namespace Telnet;

TelnetDecoder::Result TelnetDecoder::broken(Fault fault) {
    state_ = State::Broken;
    fault_ = fault;
    payload_.clear();
    return Result::Broken;
}

void TelnetDecoder::reset() {
    state_ = State::Data;
    payload_.clear();
    fault_ = Fault::None;
}

QString TelnetDecoder::cause(const LanguageTexts& texts) const {
    switch (fault_) {
    case Fault::None:
        break;
    case Fault::TooLong:
        return texts.Text(612).arg(MaxSubnegotiation);
    case Fault::Unended:
        return texts.Text(613);
    }
    return QString();
}

TelnetDecoder::Result TelnetDecoder::feed(uint8_t byte) {
    switch (state_) {
    case State::Data:
        if (byte == IAC) {
            state_ = State::Iac;
            return Result::More;
        }
        data_ = byte;
        return Result::Data;
    case State::Iac:
        if (byte == IAC) {
            state_ = State::Data;
            data_ = byte;
            return Result::Data;
        }
        command_ = byte;
        if (byte >= WILL && byte <= DONT) {
            state_ = State::Option;
            return Result::More;
        }
        if (byte == SB) {
            state_ = State::SubOption;
            return Result::More;
        }
        // NOP, GA and the like; an SE outside a subnegotiation is one of them.
        state_ = State::Data;
        option_ = 0;
        return Result::Command;
    case State::Option:
        state_ = State::Data;
        option_ = byte;
        return Result::Command;
    case State::SubOption:
        option_ = byte;
        payload_.clear();
        state_ = State::Sub;
        return Result::More;
    case State::Sub:
        if (byte == IAC) {
            state_ = State::SubIac;
            return Result::More;
        }
        if (payload_.size() >= MaxSubnegotiation)
            return broken(Fault::TooLong);
        payload_.append(char(byte));
        return Result::More;
    case State::SubIac:
        if (byte == SE) {
            state_ = State::Data;
            return Result::Subnegotiation;
        }
        if (byte != IAC)
            return broken(Fault::Unended);
        if (payload_.size() >= MaxSubnegotiation)
            return broken(Fault::TooLong);
        payload_.append(char(byte));
        state_ = State::Sub;
        return Result::More;
    case State::Broken:
        return Result::Broken;
    }
    return Result::Broken;
}
