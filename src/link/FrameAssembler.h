#pragma once

#include <QByteArray>

#include <cstdint>

// Puts frames (STX text ETX check) together from bytes as they come off the line, whichever
// way the line cuts them. It does no I/O: the program and the simulator feed it what they
// read and act on what it yields. Bytes before an STX are not part of any frame and are
// skipped, up to MaxLength of them; NUL bytes, which a line may insert while idle, are dropped.
class FrameAssembler {
public:
    // The longest frame taken, STX to block check included: a longer stream is not a frame.
    static constexpr int MaxLength = 4096;

    enum class Result {
        More,     // the frame is not complete yet (or no STX came yet)
        Frame,    // a frame with a right block check: text() holds its text
        BadCheck, // a complete frame whose block check is wrong: raw() holds it as it came
        TooLong,  // more than MaxLength bytes and no end: raw() holds them
        NoFrame,  // more than MaxLength bytes skipped before an STX: the line sends no frames
    };

    // One byte from the line. After any result but More the next byte starts afresh.
    Result feed(uint8_t byte);
    const QByteArray& text() const { return text_; }
    // Every byte of the frame from its STX, as it came.
    const QByteArray& raw() const { return raw_; }
    // Bytes skipped before an STX since the last frame.
    qsizetype skipped() const { return skipped_; }
    // Forgets a frame begun (the line is cleared, or a wait ended).
    void reset();

private:
    QByteArray raw_;
    QByteArray text_;
    qsizetype skipped_ = 0;
    bool done_ = false;
    bool etxSeen_ = false;
};
