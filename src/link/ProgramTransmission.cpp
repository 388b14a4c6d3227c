#include "link/ProgramTransmission.h"

#include "dialogs/Prompts.h"
#include "link/Clock.h"
#include "link/ControllerTypeCheck.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/ProgressObserver.h"
#include "link/TransferLines.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <cmath>

namespace {

// The pauses the controller needs between the parts of the stream.
constexpr int BeforeWindowMs = 80;
constexpr int AfterCommandMs = 50;
constexpr int AfterHeaderMs = 10;
constexpr int AfterFormatMs = 10;
constexpr int BeforeEndMs = 5;
constexpr int AfterEndMs = 10;

} // namespace

QList<QByteArray> FormatFrames(const CamProgram& program, int format) {
    QList<QByteArray> frames;
    frames.append('F' + NumberForms::TwoDigits(format).toLatin1());
    CamLineBuffer buffer;
    for (int cam = 1; cam <= program.CamCount(); ++cam) {
        // The port is open while the program goes out: the names travel with format 1 only.
        BuildCamLines(program, format, cam, true, buffer);
        const int lines = buffer.Count();
        for (int entry = 0; entry < lines; ++entry)
            frames.append(TextFile::EncodeCp1252(buffer.Lines[entry]));
    }
    return frames;
}

TransferOutcome RunTransmission(const LinkContext& context, const CamProgram& program,
                                ProgressObserver& progress) {
    progress.phaseBegun(ProgressObserver::Phase::Transmitting);
    progress.waiting();

    const TransferPort port(context, progress);
    if (!port.opened())
        return TransferOutcome::NotStarted;

    ControllerLink& link = context.link;
    link.setHardwareFlowControl(false);
    link.clearInput();
    link.send(LineCodec::TransferCommand("?FW"));
    context.link.clock().sleepMs(AfterCommandMs);

    // The rest of the program would only time out frame after frame after an unconfirmed one,
    // so the transmission ends there.
    const std::function<void()> waiting = [&progress] { progress.waiting(); };
    ProgressObserver::Counters counters;
    auto send = [&](const QByteArray& text) {
        if (!SendFrame(link, text, waiting)) {
            progress.refused(SilenceRefusal(Refusal::Cause::TimedOut, counters.line + 1, context));
            return TransferOutcome::TimedOut;
        }
        ++counters.line;
        counters.bytes += text.size();
        return TransferOutcome::Completed;
    };
    auto sendOrStop = [&](const QByteArray& text) {
        const TransferOutcome sent = send(text);
        if (sent == TransferOutcome::Completed && progress.stopRequested()) {
            progress.refused(Refusal{Refusal::Cause::Stopped, 0, QString()});
            return TransferOutcome::Stopped;
        }
        return sent;
    };

    const int cams = program.CamCount();
    for (const QByteArray& text : {TransferLines::AdvanceLine(program.Parameters, cams, 1),
                                   TransferLines::ParameterLine(program.Parameters)}) {
        const TransferOutcome sent = sendOrStop(text);
        if (sent != TransferOutcome::Completed)
            return sent;
    }

    const int formats = program.FormatCount();
    for (int format = 1; format <= formats; ++format) {
        counters.format = format;
        // Rounded half to even, as the controller's own tools show it.
        counters.percent = int(std::nearbyint(100.0 / formats * format));
        progress.counted(counters);
        const QList<QByteArray> frames = FormatFrames(program, format);
        for (qsizetype i = 0; i < frames.size(); ++i) {
            const TransferOutcome sent = sendOrStop(frames[i]);
            if (sent != TransferOutcome::Completed)
                return sent;
            if (i == 0)
                context.link.clock().sleepMs(AfterHeaderMs);
        }
        context.link.clock().sleepMs(AfterFormatMs);
    }

    context.link.clock().sleepMs(BeforeEndMs);
    if (send("END") != TransferOutcome::Completed)
        return TransferOutcome::TimedOut;
    context.link.clock().sleepMs(AfterEndMs);
    progress.done();
    return TransferOutcome::Completed;
}

TransmitSizesOutcome TransmitSizes(const LinkContext& context, const CamProgram& program,
                                   const QString& title, const std::function<void()>& save,
                                   const std::function<TransferOutcome()>& runWindow) {
    const TypeCheckOutcome checked = CheckControllerType(context, program);
    switch (checked.check) {
    case TypeCheck::SameType:
        break;
    case TypeCheck::NotIdentified:
        return {TransmitSizesResult::NotIdentified, checked.outcome};
    case TypeCheck::OtherType:
        return {TransmitSizesResult::OtherType, checked.outcome};
    }

    if (!program.ProgramSaved) {
        switch (context.prompts.message(context.Text(113), title, Prompts::Buttons::YesNoCancel,
                                        Prompts::Icon::Warning)) {
        case Prompts::Answer::Yes:
            if (save)
                save();
            break;
        case Prompts::Answer::Cancel:
            return {TransmitSizesResult::Cancelled, Outcome::Refusal(QString())};
        default:
            break;
        }
    }

    context.link.clock().sleepMs(BeforeWindowMs);
    if (runWindow() == TransferOutcome::Completed)
        return {TransmitSizesResult::Sent, Outcome::Done(Outcome::Holds::ProgramOfFile)};
    // What broke the transfer off is the window's to tell.
    return {TransmitSizesResult::NotSent,
            Outcome::Failure(QString(), QString(), QString(), QString())};
}
