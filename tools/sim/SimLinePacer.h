#pragma once

#include <chrono>

// With --pace every byte takes the time of 10 bits (start, 8 data, stop) at the line speed,
// in both directions, on one schedule: a byte goes no sooner than the one before it has
// gone, so a frame of n bytes takes n byte times however the terminal delivers it.
//
// Only what the controller sends is waited for. Bytes that came in are put on the schedule,
// and the answer to them waits for them too: one sleep per exchange rather than two, since
// every sleep ends late by the machine's wake-up time.
class SimLinePacer {
public:
    SimLinePacer(bool on, int baud);
    // Waits until bytes more bytes have crossed the line, the first of them starting now or,
    // while bytes that came in still hold the line, once they have crossed it.
    void pass(int bytes);
    // Bytes that came in, the first of them at start: they hold the line for their time,
    // which the next pass waits out. A frame read as one burst counts from its first byte,
    // not from each read.
    void took(int bytes) { tookFrom(std::chrono::steady_clock::now(), bytes); }
    void tookFrom(std::chrono::steady_clock::time_point start, int bytes);
    // Bytes that crossed the line through this pacer.
    long long bytes() const { return bytes_; }

private:
    bool on_;
    std::chrono::nanoseconds byteTime_;
    std::chrono::steady_clock::time_point lineFreeAt_{};
    long long bytes_ = 0;
};
