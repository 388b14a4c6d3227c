#pragma once

// How a program transfer on the line ended, for the caller to decide what to read or keep.
// What the operator is told goes to the transfer's ProgressObserver.
enum class TransferOutcome {
    Completed,  // every frame went (or came) and "END" closed the stream
    NotStarted, // nothing went over the line: the port, the transfer file, or silence at once
    TimedOut,   // the stream broke off: silence, a broken line or a stream that is no program
    Stopped,    // the operator pressed Exit
};
