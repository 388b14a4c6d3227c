#pragma once

#include "link/Clock.h"

// A clock that only moves when told to, or when slept on: a 3000 ms wait takes no time.
class FakeClock : public Clock {
public:
    int64_t nowMs() const override { return now_; }
    void sleepMs(int64_t ms) override {
        if (ms > 0)
            now_ += ms;
        slept_ += ms > 0 ? ms : 0;
    }
    void advance(int64_t ms) { now_ += ms; }
    int64_t sleptMs() const { return slept_; }

private:
    int64_t now_ = 1000000;
    int64_t slept_ = 0;
};
