#include "link/FrameAssembler.h"

#include "link/LineCodec.h"

void FrameAssembler::reset() {
    raw_.clear();
    text_.clear();
    skipped_ = 0;
    done_ = false;
    etxSeen_ = false;
}

FrameAssembler::Result FrameAssembler::feed(uint8_t byte) {
    if (done_)
        reset();
    if (byte == 0)
        return Result::More;
    if (raw_.isEmpty()) {
        if (byte == uint8_t(LineCodec::Stx)) {
            raw_.append(char(byte));
        } else if (++skipped_ > MaxLength) {
            done_ = true;
            return Result::NoFrame;
        }
        return Result::More;
    }
    raw_.append(char(byte));
    if (raw_.size() > MaxLength) {
        done_ = true;
        return Result::TooLong;
    }
    if (etxSeen_) {
        done_ = true;
        if (!LineCodec::ParseFrame(raw_, &text_))
            return Result::BadCheck;
        return Result::Frame;
    }
    if (byte == uint8_t(LineCodec::Etx))
        etxSeen_ = true;
    return Result::More;
}
