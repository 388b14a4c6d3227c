#include "production/LineJobs.h"

#include "flash/FlashUpdate.h"
#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/ProgramTransmission.h"
#include "production/LineObserver.h"
#include "production/TargetPrompts.h"
#include "shell/Session.h"

#include <QRegularExpression>

namespace {

void reportType(const Session& session, TargetContext& context) {
    if (session.link.IdentCamCount > 0)
        context.setType(
            ControllerDesignation(session.link.IdentCamCount, session.link.IdentFormatCount));
}

// The transfer's lines name the format in the operator's language ("SENDING SIZE 12"): the
// number is the last word.
int formatNumber(const QString& text) {
    static const QRegularExpression lastNumber(QStringLiteral("(\\d+)\\s*$"));
    return lastNumber.match(text).captured(1).toInt();
}

TargetEnd failed(const TargetPrompts& prompts, const QString& otherwise) {
    const QString said = prompts.lastMessage();
    return {TargetStatus::Result::Failed, said.isEmpty() ? otherwise : said};
}

} // namespace

TargetEnd SendProgramJob(Session& session, TargetPrompts& prompts, TargetContext& context) {
    context.setStage(QStringLiteral("identify"));
    const int formats = session.program.FormatCount();
    TransferView view;
    view.showFormat = [&](const QString& text, int percent) {
        context.setStage(QStringLiteral("format %1/%2").arg(formatNumber(text)).arg(formats),
                         percent);
    };
    view.stopRequested = [&] { return context.stopRequested(); };
    bool stopped = false;
    const TransmitSizesResult result =
        TransmitSizes(session, QStringLiteral("q517-cli"), nullptr, [&] {
            reportType(session, context);
            const TransferOutcome outcome = RunTransmission(session, view);
            stopped = outcome == TransferOutcome::Stopped;
            return outcome;
        });
    reportType(session, context);
    CloseSerialPort(session);
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
    if (stopped)
        return {TargetStatus::Result::Stopped,
                QStringLiteral("stopped after the frame on its way")};
    return failed(prompts, QStringLiteral("not sent"));
}

TargetEnd FlashImageJob(Session& session, TargetPrompts& prompts, TargetContext& context,
                        const QString& image, qint64 imageLines, bool confirmed) {
    context.setStage(QStringLiteral("identify"));
    const IdentifyResult identified = IdentifyController(session);
    reportType(session, context);
    // The update opens the line again at its own speed.
    CloseSerialPort(session);
    if (identified != IdentifyResult::Identified)
        return failed(prompts, QStringLiteral("no controller identified"));
    if (context.stopRequested())
        return {TargetStatus::Result::Stopped, QStringLiteral("stopped before the update")};
    LineObserver observer(context, imageLines);
    FlashUpdate update(session, observer, image, imageLines);
    update.setConfirmed(confirmed);
    update.Run();
    CloseSerialPort(session);
    TargetEnd end = observer.end();
    if (end.result == TargetStatus::Result::Failed && end.cause.isEmpty())
        return failed(prompts, QStringLiteral("not updated"));
    return end;
}
