#pragma once

#include "link/TransferOutcome.h"
#include "model/Outcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class CamProgram;
class ProgressObserver;
struct LinkContext;

// The frames of one format as they go to the controller: "F" and the format number in two
// digits, then the cam lines of the cam file (names with format 1 only).
QList<QByteArray> FormatFrames(const CamProgram& program, int format);

// The transfer window's transmission: "?FW", the advance and parameter frames, every format
// and "END", each frame confirmed by ACK. progress hears the phase (Transmitting), each
// format as it begins (format, percent, frames and bytes sent so far), and done or the
// refusal. The port is closed at every end. It ends at the first frame that stays
// unconfirmed (TimedOut, refused once).
TransferOutcome RunTransmission(const LinkContext& context, const CamProgram& program,
                                ProgressObserver& progress);

enum class TransmitSizesResult {
    Sent,          // every frame was confirmed
    Cancelled,     // the operator cancelled the question about the unsaved program
    NotIdentified, // the port or the controller was not ready
    OtherType,     // designation + text 71
    NotSent,       // the port failed, a frame stayed unconfirmed, or Exit was pressed
};
// The result, and for NotIdentified and OtherType what the operator is to be shown; how a
// transfer that began ended is its observer's (OutcomeRecorder).
struct TransmitSizesOutcome {
    TransmitSizesResult result = TransmitSizesResult::NotSent;
    Outcome outcome;
    operator TransmitSizesResult() const { return result; }
};

// "Transmit Sizes": identifies the controller, refuses another type, offers to save an
// unsaved program first (text 113, Yes runs save), and runs the transfer window. Nothing
// is shown here but the question.
TransmitSizesOutcome TransmitSizes(const LinkContext& context, const CamProgram& program,
                                   const QString& title, const std::function<void()>& save,
                                   const std::function<TransferOutcome()>& runWindow);
