#pragma once

#include "compare/ProgramDiff.h"
#include "link/TransferOutcome.h"
#include "model/Outcome.h"

#include <functional>

class ProgressObserver;
struct LinkContext;

enum class VerifyStatus {
    Compared,      // the controller's whole program came: Diff holds what differs
    NotIdentified, // port or controller not ready (Refused says why)
    OtherType,     // the controller holds programs of another type (designation + text 71)
    NotReceived,   // the reception never began or was stopped
    Broken,        // the stream broke off, or what came could not be read
};

struct VerifyResult {
    VerifyStatus Status = VerifyStatus::NotReceived;
    ProgramDiff Diff;    // A = expected, B = the controller; only with Compared
    CamProgram Received; // the controller's program, only with Compared
    Outcome Refused;     // why NotIdentified or OtherType, or the line a Broken read refused
};

// Runs one reception into program, up to "END".
using RunVerifyReception = std::function<TransferOutcome()>;

// Does the controller on the context's line hold expected? Identifies it, refuses another
// type, receives its whole program and compares. While it runs, program (the operator's) is
// set aside for a scratch program of expected's type, which receive reads into (the transfer
// file is written as for any reception). When it returns, program is the operator's again,
// untouched; expected is never changed.
VerifyResult VerifyController(const LinkContext& context, CamProgram& program,
                              const CamProgram& expected, const RunVerifyReception& receive);
// The same with the reception reported to progress (the command line).
VerifyResult VerifyController(const LinkContext& context, CamProgram& program,
                              const CamProgram& expected, ProgressObserver& progress);
