#include "SimLinePacer.h"

#include <algorithm>
#include <thread>

void SimLinePacer::pass(int bytes) {
    if (bytes <= 0)
        return;
    bytes_ += bytes;
    if (!on_)
        return;
    const auto now = std::chrono::steady_clock::now();
    lineFreeAt_ = std::max(lineFreeAt_, now) + byteTime_ * bytes;
    std::this_thread::sleep_until(lineFreeAt_);
}
