#include "SimLinePacer.h"

#include <algorithm>
#include <thread>

#include <sys/prctl.h>

SimLinePacer::SimLinePacer(bool on, int baud)
    : on_(on), byteTime_(std::chrono::nanoseconds(10'000'000'000LL / baud)) {
    // The kernel may end a sleep up to the thread's timer slack late (50 us unless set); at
    // 38400 baud a frame exchange lasts about 3.5 ms, so that alone was over 1% of a transfer.
    if (on_)
        ::prctl(PR_SET_TIMERSLACK, 1UL);
}

void SimLinePacer::tookFrom(std::chrono::steady_clock::time_point start, int bytes) {
    if (bytes <= 0)
        return;
    bytes_ += bytes;
    lineFreeAt_ = std::max(lineFreeAt_, start) + byteTime_ * bytes;
}

void SimLinePacer::pass(int bytes) {
    took(bytes);
    if (on_ && bytes > 0)
        std::this_thread::sleep_until(lineFreeAt_);
}
