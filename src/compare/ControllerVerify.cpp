#include "compare/ControllerVerify.h"

#include "link/ControllerTypeCheck.h"
#include "link/ProgramReception.h"
#include "shell/Session.h"

#include <utility>

namespace {

// The identification and the reception work on session.program: the operator's program
// steps aside for a scratch one of the expected type and comes back on every way out.
struct ProgramSetAside {
    Session& session;
    CamProgram kept;
    ProgramSetAside(Session& s, const CamProgram& shape) : session(s), kept(std::move(s.program)) {
        session.program = CamProgram();
        session.program.Reconfigure(shape.CamCount(), shape.FormatCount(), false);
    }
    ~ProgramSetAside() { session.program = std::move(kept); }
};

} // namespace

VerifyResult VerifyController(Session& session, const CamProgram& expected,
                              const RunVerifyReception& receive) {
    const ProgramSetAside aside(session, expected);
    VerifyResult result;
    switch (CheckControllerType(session.linkContext(), session.program)) {
    case TypeCheck::SameType:
        break;
    case TypeCheck::NotIdentified:
        result.Status = VerifyStatus::NotIdentified;
        return result;
    case TypeCheck::OtherType:
        result.Status = VerifyStatus::OtherType;
        return result;
    }
    switch (receive(session)) {
    case TransferOutcome::Completed:
        break;
    case TransferOutcome::NotStarted:
    case TransferOutcome::Stopped:
        result.Status = VerifyStatus::NotReceived;
        return result;
    case TransferOutcome::TimedOut:
        // Part of a program compared with the whole would report differences that are not
        // on the controller.
        result.Status = VerifyStatus::Broken;
        return result;
    }
    if (ReadTransferFile(session.linkContext(), session.program) != TransferFileRead::Read) {
        result.Status = VerifyStatus::Broken;
        return result;
    }
    result.Status = VerifyStatus::Compared;
    result.Diff = DiffPrograms(expected, session.program);
    result.Received = session.program;
    return result;
}

VerifyResult VerifyController(Session& session, const CamProgram& expected,
                              ProgressObserver& progress) {
    return VerifyController(session, expected, [&progress](Session& s) {
        return RunReception(s.linkContext(), s.program, progress);
    });
}
