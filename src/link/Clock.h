#pragma once

#include <cstdint>

// Monotonic milliseconds and sleep. Every wait on the line measures its deadline with it,
// so tests run a 3000 ms time-out in microseconds with a fake.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
    virtual void sleepMs(int64_t ms) = 0;
};

class SystemClock : public Clock {
public:
    int64_t nowMs() const override;
    void sleepMs(int64_t ms) override;
};
