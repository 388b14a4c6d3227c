#include "production/LineJobs.h"

#include "compare/ControllerVerify.h"
#include "flash/FlashUpdate.h"
#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/LinkOutcome.h"
#include "link/ProgramTransmission.h"
#include "model/CamProgram.h"
#include "production/LineObserver.h"
#include "production/TargetPrompts.h"

namespace {

void reportType(const ControllerLink& link, TargetContext& context) {
    if (link.state.IdentCamCount > 0)
        context.setType(
            ControllerDesignation(link.state.IdentCamCount, link.state.IdentFormatCount));
}

// How the target ended, with the first real cause: the message the operator knows, then the
// device, the stage and the system's own words, and what the controller is left holding.
TargetEnd endOf(const LinkContext& controller, const Outcome& outcome) {
    switch (outcome.result) {
    case Outcome::Result::Done:
        return {TargetStatus::Result::Ok, QString()};
    case Outcome::Result::Stopped: {
        QString cause = outcome.stage.isEmpty() ? controller.Text(526)
                                                : controller.Text(527).arg(outcome.stage);
        if (outcome.holds == Outcome::Holds::IncompleteProgram)
            cause += QStringLiteral("; ") + controller.Text(340);
        return {TargetStatus::Result::Stopped, cause};
    }
    case Outcome::Result::Refused:
    case Outcome::Result::Failed:
        break;
    }
    QString cause = outcome.summary();
    if (outcome.holds == Outcome::Holds::IncompleteProgram)
        cause += QStringLiteral("; ") + controller.Text(340);
    else if (outcome.holds == Outcome::Holds::NoFirmware)
        cause += QStringLiteral("; ") + controller.Text(341);
    return {TargetStatus::Result::Failed, cause};
}

} // namespace

TargetEnd SendProgramJob(const LinkContext& controller, const CamProgram& program, TargetPrompts&,
                         TargetContext& context, ProgressObserver* echo) {
    context.setStage(controller.Text(536));
    LineObserver observer(context, controller.texts, program.FormatCount(),
                          LineObserver::Counting::Formats, echo);
    OutcomeRecorder recorder(controller, OutcomeRecorder::Exchange::Transmission, observer);
    const TransmitSizesOutcome result =
        TransmitSizes(controller, program, QStringLiteral("q517-cli"), nullptr, [&] {
            reportType(controller.link, context);
            return RunTransmission(controller, program, recorder);
        });
    reportType(controller.link, context);
    CloseSerialPort(controller.link);
    switch (result.result) {
    case TransmitSizesResult::Sent:
        return {TargetStatus::Result::Ok, QString()};
    case TransmitSizesResult::OtherType:
    case TransmitSizesResult::NotIdentified:
        return endOf(controller, result.outcome);
    case TransmitSizesResult::Cancelled:
    case TransmitSizesResult::NotSent:
        break;
    }
    return endOf(controller, recorder.outcome());
}

TargetEnd FlashImageJob(const LinkContext& controller, TargetPrompts&, TargetContext& context,
                        const QString& image, qint64 imageLines, bool confirmed,
                        ProgressObserver* echo) {
    // The update asks only what its own exchange asks ("?T", then ":FU"): a loader that
    // answers no "?M" is updated all the same. A "?M" answer, when one comes, names the
    // type in the summary.
    context.setStage(controller.Text(537));
    if (context.stopRequested())
        return {TargetStatus::Result::Stopped, controller.Text(528)};
    LineObserver observer(context, controller.texts, imageLines, LineObserver::Counting::Lines,
                          echo);
    OutcomeRecorder recorder(controller, OutcomeRecorder::Exchange::Flash, observer);
    FlashUpdate update(controller, recorder, image, imageLines);
    update.setConfirmed(confirmed);
    update.Run();
    CloseSerialPort(controller.link);
    const Outcome& outcome = recorder.outcome();
    if (outcome.result == Outcome::Result::Refused && outcome.message.isEmpty())
        return {TargetStatus::Result::Failed, NotConfirmedCause(controller.texts)};
    return endOf(controller, outcome);
}

TargetEnd VerifyProgramJob(const LinkContext& controller, CamProgram& program, TargetPrompts&,
                           TargetContext& context, const CamProgram& expected,
                           VerifyResult* verified, ProgressObserver* echo) {
    context.setStage(controller.Text(536));
    LineObserver observer(context, controller.texts, expected.FormatCount(),
                          LineObserver::Counting::Formats, echo);
    OutcomeRecorder recorder(controller, OutcomeRecorder::Exchange::Reception, observer);
    const VerifyResult result = VerifyController(controller, program, expected, recorder);
    reportType(controller.link, context);
    CloseSerialPort(controller.link);
    if (verified)
        *verified = result;
    switch (result.Status) {
    case VerifyStatus::Compared:
        if (result.Diff.Same())
            return {TargetStatus::Result::Ok, QString()};
        return {TargetStatus::Result::Different, controller.Text(531)
                                                     .arg(result.Diff.Cams.size())
                                                     .arg(result.Diff.Names.size())
                                                     .arg(result.Diff.Parameters.size())};
    case VerifyStatus::NotIdentified:
    case VerifyStatus::OtherType:
        return endOf(controller, result.Refused);
    case VerifyStatus::NotReceived:
    case VerifyStatus::Broken:
        break;
    }
    const QString notWhole = controller.Text(532);
    const Outcome& received = recorder.outcome();
    if (received.done())
        // Everything came, but what came is no program of the file's type.
        return {TargetStatus::Result::Failed,
                notWhole + LinkPlace(controller) + QStringLiteral(": ") + controller.Text(533) +
                    (result.Refused.done()
                         ? QString()
                         : QStringLiteral(" (") + result.Refused.summary() + ')')};
    TargetEnd end = endOf(controller, received);
    if (end.result == TargetStatus::Result::Failed)
        end.cause = notWhole + end.cause;
    return end;
}
