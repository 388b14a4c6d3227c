#include "production/LineJobs.h"

#include "compare/ControllerVerify.h"
#include "flash/FlashUpdate.h"
#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
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

TargetEnd failed(const TargetPrompts& prompts, const QString& otherwise) {
    const QString said = prompts.lastMessage();
    return {TargetStatus::Result::Failed, said.isEmpty() ? otherwise : said};
}

// A transfer that did not complete fails with the cause its refusal gave; without one (it
// completed, but what came could not be read) with the last message.
TargetEnd transferFailed(const LineObserver& observer, const TargetPrompts& prompts,
                         const QString& otherwise) {
    const TargetEnd end = observer.end();
    if (end.result == TargetStatus::Result::Failed && !end.cause.isEmpty())
        return end;
    return failed(prompts, otherwise);
}

} // namespace

TargetEnd SendProgramJob(const LinkContext& controller, const CamProgram& program,
                         TargetPrompts& prompts, TargetContext& context) {
    context.setStage(QStringLiteral("identify"));
    LineObserver observer(context, program.FormatCount(), LineObserver::Counting::Formats);
    const TransmitSizesResult result =
        TransmitSizes(controller, program, QStringLiteral("q517-cli"), nullptr, [&] {
            reportType(controller.link, context);
            return RunTransmission(controller, program, observer);
        });
    reportType(controller.link, context);
    CloseSerialPort(controller.link);
    switch (result) {
    case TransmitSizesResult::Sent:
        return {TargetStatus::Result::Ok, QString()};
    case TransmitSizesResult::OtherType:
        return failed(prompts, QStringLiteral("another type of controller"));
    case TransmitSizesResult::NotIdentified:
        return failed(prompts, QStringLiteral("no controller identified"));
    case TransmitSizesResult::Cancelled:
    case TransmitSizesResult::NotSent:
        break;
    }
    if (observer.end().result == TargetStatus::Result::Stopped)
        return {TargetStatus::Result::Stopped,
                QStringLiteral("stopped after the frame on its way")};
    return transferFailed(observer, prompts, QStringLiteral("not sent"));
}

TargetEnd FlashImageJob(const LinkContext& controller, TargetPrompts& prompts,
                        TargetContext& context, const QString& image, qint64 imageLines,
                        bool confirmed) {
    context.setStage(QStringLiteral("identify"));
    const IdentifyResult identified = IdentifyController(controller);
    reportType(controller.link, context);
    // The update opens the line again at its own speed.
    CloseSerialPort(controller.link);
    if (identified != IdentifyResult::Identified)
        return failed(prompts, QStringLiteral("no controller identified"));
    if (context.stopRequested())
        return {TargetStatus::Result::Stopped, QStringLiteral("stopped before the update")};
    LineObserver observer(context, imageLines);
    FlashUpdate update(controller, observer, image, imageLines);
    update.setConfirmed(confirmed);
    update.Run();
    CloseSerialPort(controller.link);
    TargetEnd end = observer.end();
    if (end.result == TargetStatus::Result::Failed && end.cause.isEmpty())
        return failed(prompts, QStringLiteral("not updated"));
    return end;
}

TargetEnd VerifyProgramJob(const LinkContext& controller, CamProgram& program,
                           TargetPrompts& prompts, TargetContext& context,
                           const CamProgram& expected) {
    context.setStage(QStringLiteral("identify"));
    LineObserver observer(context, expected.FormatCount(), LineObserver::Counting::Formats);
    const VerifyResult result = VerifyController(controller, program, expected, observer);
    reportType(controller.link, context);
    CloseSerialPort(controller.link);
    switch (result.Status) {
    case VerifyStatus::Compared:
        if (result.Diff.Same())
            return {TargetStatus::Result::Ok, QString()};
        return {TargetStatus::Result::Different,
                QStringLiteral("%1 cam rows, %2 names, %3 parameters differ")
                    .arg(result.Diff.Cams.size())
                    .arg(result.Diff.Names.size())
                    .arg(result.Diff.Parameters.size())};
    case VerifyStatus::NotIdentified:
    case VerifyStatus::OtherType:
        return failed(prompts, QStringLiteral("no controller of the file's type"));
    case VerifyStatus::NotReceived:
        if (context.stopRequested())
            return {TargetStatus::Result::Stopped, QStringLiteral("stopped during the reception")};
        break;
    case VerifyStatus::Broken:
        break;
    }
    return transferFailed(observer, prompts,
                          QStringLiteral("the controller's program did not come whole"));
}
