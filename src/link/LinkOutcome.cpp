#include "link/LinkOutcome.h"

#include "dialogs/Prompts.h"
#include "link/LineCauses.h"
#include "link/LinkContext.h"

QString LinkPlace(const LinkContext& context) {
    const QString& device = context.link.state.DeviceOverride;
    if (!device.isEmpty())
        return device;
    const QString port = QStringLiteral("COM") + QString::number(context.portNumber);
    const QString tried = context.link.device();
    return tried.isEmpty() ? port : port + QLatin1Char(' ') + tried;
}

OutcomeRecorder::OutcomeRecorder(const LinkContext& context, Exchange exchange,
                                 ProgressObserver& inner)
    : context_(context), exchange_(exchange), inner_(inner) {}

void OutcomeRecorder::phaseBegun(Phase phase) {
    phase_ = phase;
    inner_.phaseBegun(phase);
}

void OutcomeRecorder::counted(const Counters& counters) {
    counters_ = counters;
    inner_.counted(counters);
}

void OutcomeRecorder::workingFile(const QString& path, qint64 size) {
    file_ = path;
    inner_.workingFile(path, size);
}

void OutcomeRecorder::erased() {
    erased_ = true;
    inner_.erased();
}

void OutcomeRecorder::done() {
    switch (exchange_) {
    case Exchange::Reception:
        outcome_ = Outcome::Done();
        break;
    case Exchange::Transmission:
        outcome_ = Outcome::Done(Outcome::Holds::ProgramOfFile);
        break;
    case Exchange::Flash:
        outcome_ = Outcome::Done(Outcome::Holds::FirmwareUpdated);
        break;
    }
    inner_.done();
}

QString OutcomeRecorder::stage(const Refusal& refusal) const {
    using Cause = Refusal::Cause;
    switch (refusal.cause) {
    case Cause::PortFailed:
    case Cause::WrongPort:
        return context_.Text(161);
    case Cause::FileUnusable:
    case Cause::ParityError:
        return refusal.number > 0 ? context_.Text(167).arg(refusal.number) : QString();
    case Cause::FileFailed:
    case Cause::Declined:
        return QString();
    default:
        break;
    }
    switch (phase_) {
    case Phase::Checking:
        return context_.Text(164);
    case Phase::Connecting:
        return context_.Text(165);
    case Phase::Erasing:
        return context_.Text(166);
    case Phase::Transmitting:
    case Phase::Receiving:
        break;
    }
    // The refusal's number is the line or frame on its way; counters say how far it got.
    const qint64 item = refusal.number > 0 ? refusal.number : counters_.line + 1;
    if (exchange_ == Exchange::Flash)
        return context_.Text(167).arg(item);
    QString text = context_.Text(168).arg(item);
    if (counters_.format > 0)
        text = context_.Text(169).arg(counters_.format) + text;
    return text;
}

QString OutcomeRecorder::cause(const Refusal& refusal) const {
    using Cause = Refusal::Cause;
    // Read now, while the line is as the failure left it.
    const QString broken = context_.link.isOpen()
                               ? LineCause::Local(context_.link.brokenCause(), context_.texts)
                               : QString();
    switch (refusal.cause) {
    case Cause::PortFailed:
        return context_.link.state.OpenCause;
    case Cause::WrongPort:
        return context_.Text(217);
    case Cause::FileUnusable:
    case Cause::FileFailed:
        return refusal.detail;
    case Cause::ParityError:
        return context_.Text(218);
    case Cause::TimedOut:
        if (!broken.isEmpty())
            return broken;
        // A frame goes again on anything but ACK: silence and refusals end alike.
        return exchange_ == Exchange::Transmission ? context_.Text(219) : context_.Text(220);
    case Cause::LineUnanswered:
        return broken.isEmpty() ? context_.Text(221) : broken;
    case Cause::LineLost:
        return broken.isEmpty() ? refusal.detail.section(QStringLiteral(": "), -1) : broken;
    case Cause::BadComm:
        return context_.Text(222);
    case Cause::Declined:
    case Cause::Stopped:
        break;
    }
    return QString();
}

void OutcomeRecorder::refused(const Refusal& refusal) {
    using Cause = Refusal::Cause;
    // A line that broke, or would not open, has no controller known on it any more.
    if (refusal.cause == Cause::LineLost || refusal.cause == Cause::PortFailed ||
        refusal.cause == Cause::WrongPort ||
        (context_.link.isOpen() && !context_.link.brokenCause().isEmpty()))
        context_.link.state.ForgetController();
    const bool begun = counters_.line > 0 || refusal.number > 1;
    Outcome::Holds holds = Outcome::Holds::Unchanged;
    if (exchange_ == Exchange::Transmission && begun && phase_ == Phase::Transmitting)
        holds = Outcome::Holds::IncompleteProgram;
    if (exchange_ == Exchange::Flash && erased_)
        holds = Outcome::Holds::NoFirmware;
    if (refusal.cause == Cause::Stopped) {
        outcome_ = Outcome::Stop(stage(refusal), holds);
    } else if (refusal.cause == Cause::Declined) {
        outcome_ = Outcome::Refusal(QString());
    } else {
        const bool onFile = refusal.cause == Cause::FileUnusable ||
                            refusal.cause == Cause::ParityError ||
                            refusal.cause == Cause::FileFailed;
        const QString message = refusal.text(context_.texts).section(QLatin1Char('\n'), 0, 0);
        const QString place =
            onFile ? (refusal.cause == Cause::FileFailed ? QString() : file_) : LinkPlace(context_);
        const bool nothingTried =
            onFile || refusal.cause == Cause::PortFailed || refusal.cause == Cause::WrongPort;
        outcome_ = nothingTried && holds == Outcome::Holds::Unchanged
                       ? Outcome::Refusal(message, place, cause(refusal), stage(refusal))
                       : Outcome::Failure(message, place, cause(refusal), stage(refusal), holds);
    }
    inner_.refused(refusal);
}

void ShowOutcome(const LinkContext& context, const Outcome& outcome, const QString& title) {
    if (outcome.done() || outcome.result == Outcome::Result::Stopped)
        return;
    const QString text = outcome.text(context.texts);
    if (text.isEmpty())
        return;
    context.prompts.message(text, title, Prompts::Buttons::Ok, Prompts::Icon::Warning);
}
