#pragma once

#include <QString>

#include <functional>

// What shows a program transfer to the operator: the transfer window, or standard error on
// the command line. Every member may be left empty.
struct TransferView {
    // LabRT: the direction and the cam count.
    std::function<void(const QString& direction)> showDirection;
    // LabPRG and the bar: the format on its way and how far the transfer has come.
    std::function<void(const QString& format, int percent)> showFormat;
    // Asked after every frame: true when the operator pressed Exit.
    std::function<bool()> stopRequested;
    // Run between short slices of every wait on the line, so the window repaints.
    std::function<void()> whileWaiting;
};

// How a transfer on the line ended.
enum class TransferOutcome {
    Completed,  // every frame went (or came) and "END" closed the stream
    NotStarted, // nothing went over the line ("COMM ERR", or silence before the first frame)
    TimedOut,   // "TIMEOUT SERIAL PORT " shown: the stream broke off
    Stopped,    // the operator pressed Exit
};
