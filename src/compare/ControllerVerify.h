#pragma once

#include "compare/ProgramDiff.h"
#include "link/TransferOutcome.h"

#include <functional>

class ProgressObserver;
struct Session;

enum class VerifyStatus {
    Compared,      // the controller's whole program came: Diff holds what differs
    NotIdentified, // port or controller not ready (the operator was told)
    OtherType,     // the controller holds programs of another type (designation + text 71)
    NotReceived,   // the reception never began or was stopped
    Broken,        // the stream broke off, or what came could not be read
};

struct VerifyResult {
    VerifyStatus Status = VerifyStatus::NotReceived;
    ProgramDiff Diff;    // A = expected, B = the controller; only with Compared
    CamProgram Received; // the controller's program, only with Compared
};

// Runs one reception on the session it is handed, up to "END".
using RunVerifyReception = std::function<TransferOutcome(Session& session)>;

// Does the controller on session's line hold expected? Identifies it, refuses another type,
// receives its whole program into a scratch program of expected's type (the transfer file is
// written as for any reception) and compares. When it returns, session.program is the
// operator's program again, untouched; expected is never changed.
VerifyResult VerifyController(Session& session, const CamProgram& expected,
                              const RunVerifyReception& receive);
// The same with the reception reported to progress (the command line).
VerifyResult VerifyController(Session& session, const CamProgram& expected,
                              ProgressObserver& progress);
