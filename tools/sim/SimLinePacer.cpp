#include "SimLinePacer.h"

#include <algorithm>
#include <thread>

void SimLinePacer::passFrom(std::chrono::steady_clock::time_point start, int bytes) {
    if (bytes <= 0)
        return;
    bytes_ += bytes;
    if (!on_)
        return;
    lineFreeAt_ = std::max(lineFreeAt_, start) + byteTime_ * bytes;
    std::this_thread::sleep_until(lineFreeAt_);
}
