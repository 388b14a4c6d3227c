#include "compare/ControllerVerify.h"

#include "link/ControllerTypeCheck.h"
#include "link/LinkContext.h"
#include "link/ProgramReception.h"

#include <utility>

namespace {

// The identification and the reception work on the program: the operator's program steps
// aside for a scratch one of the expected type and comes back on every way out.
struct ProgramSetAside {
    CamProgram& program;
    CamProgram kept;
    ProgramSetAside(CamProgram& p, const CamProgram& shape) : program(p), kept(std::move(p)) {
        program = CamProgram();
        program.Reconfigure(shape.CamCount(), shape.FormatCount(), false);
    }
    ~ProgramSetAside() { program = std::move(kept); }
};

} // namespace

VerifyResult VerifyController(const LinkContext& context, CamProgram& program,
                              const CamProgram& expected, const RunVerifyReception& receive) {
    const ProgramSetAside aside(program, expected);
    VerifyResult result;
    const TypeCheckOutcome checked = CheckControllerType(context, program);
    result.Refused = checked.outcome;
    switch (checked.check) {
    case TypeCheck::SameType:
        break;
    case TypeCheck::NotIdentified:
        result.Status = VerifyStatus::NotIdentified;
        return result;
    case TypeCheck::OtherType:
        result.Status = VerifyStatus::OtherType;
        return result;
    }
    switch (receive()) {
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
    const TransferFileReading read = ReadTransferFile(context, program);
    if (read != TransferFileRead::Read) {
        result.Status = VerifyStatus::Broken;
        result.Refused = read.outcome;
        return result;
    }
    result.Status = VerifyStatus::Compared;
    result.Diff = DiffPrograms(expected, program);
    result.Received = program;
    return result;
}

VerifyResult VerifyController(const LinkContext& context, CamProgram& program,
                              const CamProgram& expected, ProgressObserver& progress) {
    return VerifyController(context, program, expected,
                            [&] { return RunReception(context, program, progress); });
}
