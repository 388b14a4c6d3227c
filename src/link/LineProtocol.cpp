#include "link/LineProtocol.h"

#include "dialogs/Prompts.h"
#include "link/Clock.h"
#include "link/FrameAssembler.h"
#include "link/LineAssembler.h"
#include "link/LineCauses.h"
#include "link/LineCodec.h"
#include "link/LinkContext.h"
#include "model/NumberForms.h"

#include <algorithm>

LinkOpening OpenSerialPort(const LinkContext& context) {
    ControllerLink& link = context.link;
    const int baud = context.baudRate.trimmed().toInt();
    const LinkOpening opening = link.state.DeviceOverride.isEmpty()
                                    ? link.open(context.portNumber, baud)
                                    : link.open(link.state.DeviceOverride, baud);
    link.state.PortStatus = opening.status;
    if (opening.ready()) {
        link.state.OpenCause.clear();
        return opening;
    }
    link.close();
    link.state.OpenCause = LineCause::Local(opening.cause, context.texts);
    // Whatever answered there before is not there now.
    link.state.ForgetController();
    return opening;
}

int64_t NextByteDeadline(ControllerLink& link, int64_t startMs) {
    return std::min(link.clock().nowMs() + LineTiming::SilenceMs, startMs + LineTiming::WholeMs);
}

void CloseSerialPort(ControllerLink& link) {
    link.close();
}

TransferPort::TransferPort(const LinkContext& context, ProgressObserver& progress)
    : link_(context.link) {
    OpenSerialPort(context);
    const int status = LinkErrorNumber(link_.state.PortStatus);
    opened_ = status == 0;
    if (opened_)
        return;
    CloseSerialPort(link_);
    progress.refused(Refusal{Refusal::Cause::PortFailed, status,
                             context.Text(233) + NumberForms::Standard(status)});
}

TransferPort::~TransferPort() {
    CloseSerialPort(link_);
}

QByteArray SerialComStr(const LinkContext& context, QByteArray& command, QString* why) {
    ControllerLink& link = context.link;
    AppendLineChecksum(command);
    link.clearInput();
    link.send(command);

    Prompts& prompts = context.prompts;
    const ReplyLine reply = ReceiveReplyLine(link, [&prompts] { prompts.processEvents(); });
    QString failure;
    switch (reply.kind) {
    case ReplyLine::Line:
        return reply.bytes;
    case ReplyLine::Silent:
        failure = context.Text(220);
        break;
    case ReplyLine::Late:
        failure = context.Text(223);
        break;
    case ReplyLine::Broken:
        link.state.ForgetController();
        failure = LineCause::Local(link.brokenCause(), context.texts);
        break;
    case ReplyLine::TooLong:
        // A controller that streams without a CR is not answering.
        failure = context.Text(224);
        break;
    }
    if (why)
        *why = failure;
    link.state.ReadFailed = true;
    return QByteArray();
}

ReplyLine ReceiveReplyLine(ControllerLink& link, const std::function<void()>& waiting) {
    LineAssembler assembler;
    const int64_t start = link.clock().nowMs();
    for (;;) {
        const LinkRead c = link.read(NextByteDeadline(link, start), waiting);
        if (c.kind == LinkRead::Broken)
            return {ReplyLine::Broken, {}};
        if (!c.gotByte())
            return {link.clock().nowMs() >= start + LineTiming::WholeMs ? ReplyLine::Late
                                                                        : ReplyLine::Silent,
                    {}};
        switch (assembler.feed(c.byte)) {
        case LineAssembler::Result::More:
            break;
        case LineAssembler::Result::Line:
            return {ReplyLine::Line, assembler.line()};
        case LineAssembler::Result::TooLong:
            return {ReplyLine::TooLong, assembler.line()};
        }
    }
}

bool SendFrame(ControllerLink& link, const QByteArray& text, const std::function<void()>& waiting) {
    link.clearInput();
    const QByteArray frame = LineCodec::BuildFrame(text);
    for (int sending = 1; sending <= LineTiming::MaxFrameSendings; ++sending) {
        link.send(frame);
        const LinkRead answer = link.read(link.clock().nowMs() + LineTiming::SilenceMs, waiting);
        if (!answer.gotByte())
            return false;
        if (answer.byte == uint8_t(LineCodec::Ack))
            return true;
    }
    return false;
}

ReceivedFrame ReceiveFrame(ControllerLink& link, const std::function<void()>& waiting,
                           const std::function<bool()>& stopped) {
    FrameAssembler assembler;
    const int64_t start = link.clock().nowMs();
    int64_t deadline = NextByteDeadline(link, start);
    for (;;) {
        if (stopped && stopped())
            return {ReceivedFrame::Stopped, {}};
        // With a stop to look at, the wait goes in slices, so it is seen between two bytes
        // however the line keeps them coming or not.
        const int64_t until =
            stopped ? std::min(deadline, link.clock().nowMs() + ControllerLink::SliceMs) : deadline;
        const LinkRead c = link.read(until, waiting);
        if (c.kind == LinkRead::Broken)
            return {ReceivedFrame::Broken, {}};
        if (!c.gotByte()) {
            if (link.clock().nowMs() >= deadline)
                return {ReceivedFrame::Silent, {}};
            continue;
        }
        deadline = NextByteDeadline(link, start);
        const FrameAssembler::Result result = assembler.feed(c.byte);
        if (result == FrameAssembler::Result::More)
            continue;
        if (result == FrameAssembler::Result::TooLong || result == FrameAssembler::Result::NoFrame)
            return {ReceivedFrame::TooLong, assembler.raw()};
        // The controller goes on with the next frame either way; a frame whose check is
        // wrong is kept as it came, for the reader of the transfer file to refuse.
        link.discardOutput();
        link.send(QByteArray(1, LineCodec::Ack));
        if (result == FrameAssembler::Result::BadCheck)
            return {ReceivedFrame::BadCheck, assembler.raw()};
        return {ReceivedFrame::Frame, assembler.text()};
    }
}

QString LineFailureText(const QString& message, const ControllerLink& link,
                        const LanguageTexts& texts) {
    const QString cause = link.brokenCause();
    if (cause.isEmpty())
        return message;
    return message + QLatin1Char('\n') + link.device() + QStringLiteral(": ") +
           LineCause::Local(cause, texts);
}

Refusal SilenceRefusal(Refusal::Cause cause, qint64 number, const LinkContext& context, int port) {
    const ControllerLink& link = context.link;
    Refusal refusal{cause, number, QString(), port};
    if (link.isOpen() && !link.brokenCause().isEmpty())
        refusal = Refusal{Refusal::Cause::LineLost, number,
                          LineFailureText(refusal.text(context.texts), link, context.texts), port};
    return refusal;
}
