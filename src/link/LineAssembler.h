#pragma once

#include <QByteArray>

#include <cstdint>

// Puts lines (text and CR) together from bytes as they come off the line: the controller's
// replies in the program, the program's command lines in the simulator. Like FrameAssembler
// it does no I/O. NUL bytes are dropped.
class LineAssembler {
public:
    // The longest line taken, CR included: a longer stream is not a line.
    static constexpr int MaxLength = 4096;

    enum class Result {
        More,    // no CR yet
        Line,    // line() holds the line with its CR
        TooLong, // more than MaxLength bytes without a CR: line() holds them
    };

    // One byte from the line. After any result but More the next byte starts a new line.
    Result feed(uint8_t byte);
    const QByteArray& line() const { return line_; }
    void reset();

private:
    QByteArray line_;
    bool done_ = false;
};
