#include "link/ProgramTransmission.h"

#include "dialogs/Prompts.h"
#include "link/ControllerTypeCheck.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "link/TransferLines.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "shell/Clock.h"
#include "shell/Session.h"
#include "shell/TextFile.h"

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

TransferOutcome RunTransmission(Session& session, const TransferView& view) {
    const CamProgram& program = session.program;
    if (view.showDirection)
        view.showDirection(session.Text(47) + NumberForms::Standard(program.CamCount()));
    session.prompts.processEvents();

    OpenSerialPort(session);
    if (session.link.state.PortStatus != 0) {
        session.prompts.message(QStringLiteral("COMM ERR") +
                                    NumberForms::Standard(session.link.state.PortStatus),
                                QString(), Prompts::Buttons::Ok, Prompts::Icon::None);
        CloseSerialPort(session);
        return TransferOutcome::NotStarted;
    }

    session.link.state.WhileWaiting = view.whileWaiting;
    struct Ending {
        Session& session;
        ~Ending() {
            session.link.state.WhileWaiting = nullptr;
            CloseSerialPort(session);
        }
    } ending{session};

    ControllerLink& link = session.link;
    link.setHardwareFlowControl(false);
    link.clearInput();
    link.send(LineCodec::TransferCommand("?FW"));
    session.clock.sleepMs(AfterCommandMs);

    // SendFrame has told the operator when a frame stayed unconfirmed; the rest of the
    // program would only time out frame after frame, so the transmission ends there.
    enum class Sent { Confirmed, Unconfirmed, Stopped };
    auto send = [&](const QByteArray& text) {
        if (!SendFrame(session, text))
            return Sent::Unconfirmed;
        if (view.stopRequested && view.stopRequested())
            return Sent::Stopped;
        return Sent::Confirmed;
    };
    auto outcomeOf = [](Sent sent) {
        return sent == Sent::Stopped ? TransferOutcome::Stopped : TransferOutcome::TimedOut;
    };

    const int cams = program.CamCount();
    for (const QByteArray& text : {TransferLines::AdvanceLine(program.Parameters, cams, 1),
                                   TransferLines::ParameterLine(program.Parameters)}) {
        const Sent sent = send(text);
        if (sent != Sent::Confirmed)
            return outcomeOf(sent);
    }

    const int formats = program.FormatCount();
    for (int format = 1; format <= formats; ++format) {
        if (view.showFormat) {
            // Rounded half to even, as the controller's own tools show it.
            const int percent = int(std::nearbyint(100.0 / formats * format));
            view.showFormat(session.Text(52) + NumberForms::Standard(format), percent);
        }
        const QList<QByteArray> frames = FormatFrames(program, format);
        for (qsizetype i = 0; i < frames.size(); ++i) {
            const Sent sent = send(frames[i]);
            if (sent != Sent::Confirmed)
                return outcomeOf(sent);
            if (i == 0)
                session.clock.sleepMs(AfterHeaderMs);
        }
        session.clock.sleepMs(AfterFormatMs);
    }

    session.clock.sleepMs(BeforeEndMs);
    if (!SendFrame(session, "END"))
        return TransferOutcome::TimedOut;
    session.clock.sleepMs(AfterEndMs);
    return TransferOutcome::Completed;
}

TransmitSizesResult TransmitSizes(Session& session, const QString& title,
                                  const std::function<void()>& save,
                                  const std::function<TransferOutcome()>& runWindow) {
    switch (CheckControllerType(session)) {
    case TypeCheck::SameType:
        break;
    case TypeCheck::NotIdentified:
        return TransmitSizesResult::NotIdentified;
    case TypeCheck::OtherType:
        return TransmitSizesResult::OtherType;
    }

    if (!session.program.ProgramSaved) {
        switch (session.prompts.message(session.Text(113), title, Prompts::Buttons::YesNoCancel,
                                        Prompts::Icon::Warning)) {
        case Prompts::Answer::Yes:
            if (save)
                save();
            break;
        case Prompts::Answer::Cancel:
            return TransmitSizesResult::Cancelled;
        default:
            break;
        }
    }

    session.clock.sleepMs(BeforeWindowMs);
    return runWindow() == TransferOutcome::Completed ? TransmitSizesResult::Sent
                                                     : TransmitSizesResult::NotSent;
}
