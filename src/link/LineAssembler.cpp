#include "link/LineAssembler.h"

#include "link/LineCodec.h"

void LineAssembler::reset() {
    line_.clear();
    done_ = false;
}

LineAssembler::Result LineAssembler::feed(uint8_t byte) {
    if (done_)
        reset();
    if (byte == 0)
        return Result::More;
    line_.append(char(byte));
    if (line_.size() > MaxLength) {
        done_ = true;
        return Result::TooLong;
    }
    if (byte == uint8_t(LineCodec::Cr)) {
        done_ = true;
        return Result::Line;
    }
    return Result::More;
}
