// The controller's program: sent after "?FR" frame by frame, taken after "?FW" frame by
// frame, kept between transfers and written to a cam file on request.
#include "SimController.h"
#include "SimLinePacer.h"
#include "SimModule.h"

#include "link/LineCodec.h"
#include "link/ProgramTransmission.h"
#include "link/TransferLines.h"
#include "model/CamFileReader.h"
#include "model/CamFileWriter.h"
#include "model/CamLineCursor.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <chrono>
#include <memory>
#include <utility>

namespace {

// The program waits 3000 ms for a character; the controller gives up on it after as long.
constexpr int SilenceMs = 3000;
// A program that answers every frame with something else than ACK is not listening.
constexpr int MaxSendings = 10;

struct TransferState {
    CamProgram program;
    QString storePath;
    bool pace = false;
    std::optional<int> silentAfter; // frames answered in a transfer before going silent
    std::optional<int> endAfter;    // frames of the program sent before a premature "END"
    std::optional<int> hangupAfter; // frames answered in a transfer before the line goes dead
    bool nakAlways = false;         // every frame taken is refused
};

QString designation(int cams, int formats) {
    return QStringLiteral("C%1-%2").arg(cams).arg(formats);
}

// The stream the controller sends after "?FR": the function block, every format under its
// "FORMATO N. " header, and "END".
QList<QByteArray> controllerStream(const CamProgram& program) {
    const int cams = program.CamCount();
    QList<QByteArray> frames;
    frames.append("FUNZIONI " + NumberForms::TwoDigits(cams).toLatin1() + '-' +
                  NumberForms::TwoDigits(program.FormatCount()).toLatin1());
    frames.append(TransferLines::AdvanceLine(program.Parameters, cams, 2));
    frames.append(TransferLines::ParameterLine(program.Parameters));
    for (int format = 1; format <= program.FormatCount(); ++format) {
        QList<QByteArray> section = FormatFrames(program, format);
        section[0] = "FORMATO N. " + NumberForms::TwoDigits(format).toLatin1();
        frames += section;
    }
    frames.append("END");
    return frames;
}

class TransferSession {
public:
    TransferSession(SimController& controller, TransferState& state)
        : c_(controller), state_(state), pacer_(state.pace, controller.config().baud) {}
    ~TransferSession() {
        // The benchmark reads this to know how many bytes the line carried.
        c_.log(QStringLiteral("line: %1 bytes").arg(pacer_.bytes()));
    }
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    void sendProgram();
    void takeProgram();

private:
    std::optional<uint8_t> read(int timeoutMs) {
        const std::optional<uint8_t> byte = c_.readByte(timeoutMs);
        if (byte)
            pacer_.took(1);
        return byte;
    }
    void write(const QByteArray& bytes) {
        pacer_.pass(int(bytes.size()));
        c_.send(bytes);
    }
    // One frame from the program: its raw bytes from STX to the block check.
    std::optional<SimController::Frame> readFrame();
    bool silent(int answered) const {
        return state_.silentAfter && answered >= *state_.silentAfter;
    }
    bool hangsUp(int answered) {
        if (!state_.hangupAfter || answered < *state_.hangupAfter)
            return false;
        c_.hangUp(QStringLiteral("after %1 frames").arg(answered));
        return true;
    }

    SimController& c_;
    TransferState& state_;
    SimLinePacer pacer_;
};

void TransferSession::sendProgram() {
    QList<QByteArray> frames = controllerStream(state_.program);
    if (state_.endAfter && *state_.endAfter < frames.size() - 1) {
        // A controller whose program ends early: a short stream closed by a proper "END".
        frames = frames.mid(0, *state_.endAfter);
        frames.append(QByteArrayLiteral("END"));
        c_.log(QStringLiteral("END after %1 frames (fault)").arg(*state_.endAfter));
    }
    int sent = 0;
    for (const QByteArray& text : frames) {
        if (silent(sent)) {
            c_.log(QStringLiteral("silent after %1 frames (fault)").arg(sent));
            return;
        }
        if (hangsUp(sent))
            return;
        bool acknowledged = false;
        for (int sending = 1; sending <= MaxSendings && !acknowledged; ++sending) {
            write(LineCodec::BuildFrame(text));
            const std::optional<uint8_t> answer = read(SilenceMs);
            if (!answer) {
                c_.log(QStringLiteral("the program stopped answering after %1 frames").arg(sent));
                return;
            }
            acknowledged = *answer == uint8_t(LineCodec::Ack);
        }
        if (!acknowledged) {
            c_.log(QStringLiteral("frame %1 never acknowledged; stream given up").arg(sent + 1));
            return;
        }
        ++sent;
        c_.trace(QStringLiteral("frame out: ") + SimController::printable(text));
    }
    c_.log(QStringLiteral("program sent: %1 frames").arg(sent));
}

std::optional<SimController::Frame> TransferSession::readFrame() {
    std::optional<SimController::Frame> frame = c_.readFrame(SilenceMs);
    // The whole frame crosses the line from its first byte on; the answer waits for it.
    if (frame)
        pacer_.tookFrom(frame->start, int(frame->raw.size()));
    return frame;
}

// Builds the program from the frames of "?FW" as they are confirmed.
class ProgramAssembly {
public:
    ProgramAssembly(int cams, int formats, SimController& c) : c_(c) {
        program_.Reconfigure(cams, formats, false);
    }
    void take(const QByteArray& frameText) {
        const QString text = TextFile::DecodeCp1252(frameText);
        ++frames_;
        if (frames_ == 1) {
            TransferLines::ReadAdvanceLine(text, 1, program_.CamCount(), program_.Parameters);
            return;
        }
        if (frames_ == 2) {
            TransferLines::ReadParameterLine(text, program_.Parameters);
            return;
        }
        if (text.size() == 3 && text.startsWith(QLatin1Char('F'))) {
            finishSection();
            bool ok = false;
            const int format = text.mid(1).toInt(&ok);
            format_ = ok && program_.IsValidFormat(format) ? format : 0;
            if (!format_)
                c_.log(QStringLiteral("format header %1 ignored").arg(text));
            return;
        }
        if (format_)
            section_ += text + QLatin1Char('\n');
    }
    CamProgram finish() {
        finishSection();
        return program_;
    }

private:
    void finishSection() {
        if (!format_)
            return;
        CamLineCursor in(section_);
        CamReadError error;
        if (ReadFormatSection(in, program_, format_, &error) == SectionStop::Failed)
            c_.log(QStringLiteral("format %1: line '%2' refused: %3")
                       .arg(format_)
                       .arg(error.Line, error.Reason));
        section_.clear();
        format_ = 0;
    }

    SimController& c_;
    CamProgram program_;
    int frames_ = 0;
    int format_ = 0;
    QString section_;
};

void TransferSession::takeProgram() {
    const SimConfig& config = c_.config();
    ProgramAssembly assembly(config.camCount, config.formatCount, c_);
    const bool nakFirst = config.fault(QStringLiteral("nak-first"));
    bool nakNext = nakFirst;
    int answered = 0;
    for (;;) {
        const std::optional<SimController::Frame> frame = readFrame();
        if (!frame) {
            c_.log(
                QStringLiteral("the stream broke off after %1 frames; nothing kept").arg(answered));
            return;
        }
        if (silent(answered))
            continue; // listens, says nothing, until the program gives up
        if (hangsUp(answered))
            return;
        if (!frame->checkOk) {
            c_.trace(QStringLiteral("bad block check: ") + SimController::printable(frame->raw));
            write(QByteArray(1, LineCodec::Nak));
            continue;
        }
        if (nakNext || state_.nakAlways) {
            nakNext = false;
            write(QByteArray(1, LineCodec::Nak));
            continue;
        }
        write(QByteArray(1, LineCodec::Ack));
        nakNext = nakFirst;
        const QByteArray& text = frame->text;
        ++answered;
        c_.trace(QStringLiteral("frame in: ") + SimController::printable(text));
        if (text == "END")
            break;
        assembly.take(text);
    }
    state_.program = assembly.finish();
    c_.log(QStringLiteral("program taken: %1 frames").arg(answered));
    if (state_.storePath.isEmpty())
        return;
    FileWriteError error;
    if (WriteCamFile(state_.program, state_.storePath, false, &error))
        c_.log(QStringLiteral("stored in ") + state_.storePath);
    else
        c_.log(QStringLiteral("cannot store: ") + error.What);
}

const SimModuleRegistration registration(SimModule{
    QStringLiteral("transfer"),
    {QCommandLineOption(QStringLiteral("program"),
                        QStringLiteral("Cam file the controller holds at start (default: an "
                                       "empty program of its type; without --type the file's "
                                       "type is taken)."),
                        QStringLiteral("FILE.CAM")),
     QCommandLineOption(QStringLiteral("store"),
                        QStringLiteral("Write every program taken after \"?FW\" to this cam "
                                       "file."),
                        QStringLiteral("FILE.CAM")),
     QCommandLineOption(QStringLiteral("pace"),
                        QStringLiteral("Every byte takes 10 bit times at the line speed."))},
    {QStringLiteral("nak-first"), QStringLiteral("nak-always"), QStringLiteral("silent-after"),
     QStringLiteral("end-after"), QStringLiteral("hangup-after")},
    [](const QCommandLineParser& args, SimController& controller, QString* error) {
        auto state = std::make_shared<TransferState>();
        SimConfig& config = controller.config();
        for (const auto& [fault, frames] :
             {std::pair{QStringLiteral("silent-after"), &state->silentAfter},
              std::pair{QStringLiteral("end-after"), &state->endAfter},
              std::pair{QStringLiteral("hangup-after"), &state->hangupAfter}}) {
            if (const std::optional<QString> n = config.faultValue(fault)) {
                bool ok = false;
                const int count = n->toInt(&ok);
                if (!ok || count < 0) {
                    *error = QStringLiteral("--fault %1=N needs a number of frames").arg(fault);
                    return false;
                }
                *frames = count;
            }
        }
        state->nakAlways = config.fault(QStringLiteral("nak-always"));
        state->pace = args.isSet(QStringLiteral("pace"));
        state->storePath = args.value(QStringLiteral("store"));
        state->program.Reconfigure(config.camCount, config.formatCount, false);
        if (args.isSet(QStringLiteral("program"))) {
            const QString path = args.value(QStringLiteral("program"));
            CamProgram loaded;
            const CamReadResult read = ReadCamFile(loaded, path);
            if (!read.ok()) {
                *error = path + QStringLiteral(": not a readable cam file") +
                         (read.error.Reason.isEmpty() ? QString()
                                                      : QStringLiteral(" (line %1: %2)")
                                                            .arg(read.error.LineNumber)
                                                            .arg(read.error.Reason));
                return false;
            }
            if (!args.isSet(QStringLiteral("type"))) {
                config.camCount = loaded.CamCount();
                config.formatCount = loaded.FormatCount();
            } else if (loaded.CamCount() != config.camCount ||
                       loaded.FormatCount() != config.formatCount) {
                *error = path + QStringLiteral(" holds a ") +
                         designation(loaded.CamCount(), loaded.FormatCount()) +
                         QStringLiteral(" program, the controller is ") +
                         designation(config.camCount, config.formatCount);
                return false;
            }
            state->program = loaded;
        }
        controller.onTransferCommand(
            "?FR", [state](SimController& c) { TransferSession(c, *state).sendProgram(); });
        controller.onTransferCommand(
            "?FW", [state](SimController& c) { TransferSession(c, *state).takeProgram(); });
        return true;
    }});

} // namespace
