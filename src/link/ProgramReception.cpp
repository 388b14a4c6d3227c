#include "link/ProgramReception.h"

#include "dialogs/Prompts.h"
#include "link/Clock.h"
#include "link/ControllerTypeCheck.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/ProgressObserver.h"
#include "link/ReceivedFormats.h"
#include "link/TransferFile.h"
#include "link/TransferLines.h"
#include "model/CamFileReader.h"
#include "model/CamLineBuffer.h"
#include "model/CamLineCursor.h"
#include "model/CamProgram.h"
#include "model/EditSession.h"
#include "model/FileAccess.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// The controller needs a moment after "?FR" before it streams.
constexpr int AfterCommandMs = 60;
const QByteArray EndText("END");
// The largest real program writes about 1.3 MB into the transfer file; a stream three times
// that long is not a program.
constexpr qint64 MaxTransferFileBytes = 4 * 1024 * 1024;
const QString FormatHeader = QStringLiteral("FORMATO N. ");

// The most frames any program of this type can take (header, cam and phase lines of every
// format, the function block and "END"): a stream that goes on beyond it is not a program.
int frameLimit(const CamProgram& program) {
    return 4 + program.FormatCount() * (1 + program.CamCount() * CamLineBuffer::Entries);
}

// The number in the last two characters of a format header.
int headerFormat(const QString& header) {
    return int(std::clamp<long long>(
        NumberForms::LeadingNumber(header.right(2), NumberForms::Rounding::Truncate), 0, 99));
}

} // namespace

QString FormatHeaderText(int format) {
    return FormatHeader + NumberForms::TwoDigits(format);
}

TransferOutcome RunReception(const LinkContext& context, const CamProgram& program,
                             ProgressObserver& progress) {
    progress.phaseBegun(ProgressObserver::Phase::Receiving);
    progress.waiting();

    const TransferPort port(context, progress);
    if (!port.opened())
        return TransferOutcome::NotStarted;

    // The command line may run before the program ever made its working directory.
    QDir().mkpath(context.link.workDir());
    QFile file;
    const QString path = TransferFile::Path(context.link);
    auto fileFailed = [&](const QString& cause) {
        progress.refused(
            Refusal{Refusal::Cause::FileFailed, 0, path + QStringLiteral(": ") + cause});
        return TransferOutcome::NotStarted;
    };
    // Unbuffered: a frame the disk refuses shows at once, with the system's reason. A FIFO
    // or a symbolic link put in its place is refused, never waited on or followed.
    QString why;
    if (!FileAccess::OpenOutput(file, path, &why))
        return fileFailed(FileAccess::LocalCause(why, context.texts));

    ControllerLink& link = context.link;
    link.clearInput();
    link.send(LineCodec::TransferCommand("?FR"));
    context.link.clock().sleepMs(AfterCommandMs);

    const std::function<void()> waiting = [&progress] { progress.waiting(); };
    // Exit or Ctrl+C ends the wait for a frame at once, whatever the line keeps sending.
    const std::function<bool()> stopped = [&progress] { return progress.stopRequested(); };
    const int limit = frameLimit(program);
    ProgressObserver::Counters counters;
    for (int frames = 0;; ++frames) {
        const ReceivedFrame frame = ReceiveFrame(link, waiting, stopped);
        const TransferOutcome broken =
            frames == 0 ? TransferOutcome::NotStarted : TransferOutcome::TimedOut;
        if (frame.kind == ReceivedFrame::Stopped) {
            progress.refused(Refusal{Refusal::Cause::Stopped, 0, QString()});
            return TransferOutcome::Stopped;
        }
        if (frame.kind == ReceivedFrame::Silent || frame.kind == ReceivedFrame::Broken) {
            file.close();
            progress.refused(SilenceRefusal(Refusal::Cause::TimedOut, frames + 1, context));
            return broken;
        }
        if (frame.kind == ReceivedFrame::TooLong) {
            progress.refused(Refusal{Refusal::Cause::BadComm, 0, QString()});
            return broken;
        }
        const QByteArray& text = frame.bytes;
        const QString decoded = TextFile::DecodeCp1252(text);
        if (decoded.contains(FormatHeader)) {
            counters.format = headerFormat(decoded);
            counters.percent = std::min(counters.format * 100 / program.FormatCount(), 100);
            progress.counted(counters);
        }
        if (!FileAccess::WriteAll(file, text + "\r\n"))
            return fileFailed(FileAccess::WriteCause(file));
        counters.line = frames + 1;
        counters.bytes += text.size() + 2;
        if (frame.kind == ReceivedFrame::Frame && text == EndText) {
            progress.done();
            return TransferOutcome::Completed;
        }
        if (frames + 1 >= limit || counters.bytes > MaxTransferFileBytes) {
            // A controller that never ends its stream must not keep the window, or fill the
            // disk, for ever.
            progress.refused(Refusal{Refusal::Cause::BadComm, 0, QString()});
            return TransferOutcome::TimedOut;
        }
        if (progress.stopRequested()) {
            progress.refused(Refusal{Refusal::Cause::Stopped, 0, QString()});
            return TransferOutcome::Stopped;
        }
    }
}

namespace {

// A line of the transfer file that cannot be taken: the line and text 10, as the operator
// has always read it, and where it stands.
TransferFileReading refusedLine(const LinkContext& context, TransferFileRead status,
                                const QString& line, int lineNumber) {
    return {status, Outcome::Refusal(line + context.Text(10),
                                     TransferFile::Path(context.link) +
                                         QStringLiteral(" line %1").arg(std::max(lineNumber, 1)))};
}

// The format sections after the function block: at most FormatCount of them, up to "END".
TransferFileReading readSections(const LinkContext& context, CamLineCursor& in,
                                 CamProgram& received) {
    if (!in.AtEnd())
        in.ReadLine();
    for (int section = 0; section < received.FormatCount(); ++section) {
        if (in.Line().isEmpty() && !in.AtEnd())
            in.ReadLine();
        const QString line = in.InputLine();
        if (line.contains(FormatHeader)) {
            const long long format =
                NumberForms::LeadingNumber(line.right(2), NumberForms::Rounding::Truncate);
            CamReadError error;
            const SectionStop stop = received.IsValidFormat(int(format))
                                         ? ReadFormatSection(in, received, int(format), &error)
                                         : SectionStop::Failed;
            if (stop == SectionStop::Failed)
                return refusedLine(context, TransferFileRead::SectionRefused,
                                   error.Line.isNull() ? line : error.Line,
                                   error.Line.isNull() ? in.LineNumber() : error.LineNumber);
            if (stop == SectionStop::EndOfFile)
                break;
        }
        if (in.Line().contains(QLatin1String("END")))
            break;
    }
    return {TransferFileRead::Read, Outcome::Done()};
}

} // namespace

TransferFileReading ReadTransferFile(const LinkContext& context, CamProgram& program) {
    QByteArray bytes;
    // A missing transfer file reads as an empty one.
    TextFile::ReadAll(TransferFile::Path(context.link), bytes);
    CamLineCursor in(bytes);

    // Read apart from the program: data without a function block must not cost the
    // operator the program in memory.
    CamProgram received = program;
    received.ClearAllFormats();
    const int cams = received.CamCount();
    bool functionBlock = false;
    if (!in.AtEnd()) {
        in.ReadLine();
        if (in.Line().contains(QLatin1String("FUNZIONI")) && in.ReadLine()) {
            TransferLines::ReadAdvanceLine(in.Line(), 2, cams, received.Parameters);
            if (in.ReadLine()) {
                TransferLines::ReadParameterLine(in.Line(), received.Parameters);
                functionBlock = true;
            }
        }
    }
    if (!functionBlock)
        return refusedLine(context, TransferFileRead::NoFunctionBlock, in.InputLine(),
                           in.LineNumber());

    const TransferFileReading result = readSections(context, in, received);
    received.CurrentFormat = 1;
    received.ProgramSaved = false;
    program = std::move(received);
    return result;
}

namespace {
// Asks whether to keep what came of a broken reception; only Yes keeps it.
bool keepBrokenReception(const LinkContext& context, int formatCount) {
    QByteArray bytes;
    TextFile::ReadAll(TransferFile::Path(context.link), bytes);
    const QList<int> formats = ReceivedFormats::Scan(bytes).formats;
    const QString question =
        context.Text(299).arg(formats.isEmpty() ? 0 : formats.last()).arg(formatCount) +
        QLatin1Char('\n') + context.Text(308);
    // Enter must not throw away the program the operator had: No (put back) is the default.
    return context.prompts.message(question, QString(), Prompts::Buttons::YesNoDefaultNo,
                                   Prompts::Icon::Warning) == Prompts::Answer::Yes;
}
} // namespace

ReceiveSizesOutcome ReceiveSizes(const LinkContext& context, CamProgram& program, EditSession& edit,
                                 const QString& title,
                                 const std::function<TransferOutcome()>& runWindow) {
    if (!program.ProgramSaved &&
        context.prompts.message(context.Text(112), title, Prompts::Buttons::OkCancelDefaultCancel,
                                Prompts::Icon::Warning) == Prompts::Answer::Cancel)
        return {ReceiveSizesResult::Cancelled, Outcome::Refusal(QString())};

    const TypeCheckOutcome checked = CheckControllerType(context, program);
    switch (checked.check) {
    case TypeCheck::SameType:
        break;
    case TypeCheck::NotIdentified:
        return {ReceiveSizesResult::NotIdentified, checked.outcome};
    case TypeCheck::OtherType:
        return {ReceiveSizesResult::OtherType, checked.outcome};
    }

    // A reception that breaks off must not cost the operator the program he had.
    CamProgram before = program;
    const TransferOutcome outcome = runWindow();
    switch (outcome) {
    case TransferOutcome::Completed:
    case TransferOutcome::TimedOut:
        break;
    case TransferOutcome::NotStarted:
    case TransferOutcome::Stopped:
        // Only what this reception wrote is ever read: a transfer file left by an earlier one
        // stays unread, and a reception the operator stopped is not taken half-way.
        return {ReceiveSizesResult::NothingReceived, Outcome::Done()};
    }
    const TransferFileReading read = ReadTransferFile(context, program);
    if (read == TransferFileRead::NoFunctionBlock)
        return {ReceiveSizesResult::Unusable, read.outcome};
    if (outcome == TransferOutcome::TimedOut &&
        !keepBrokenReception(context, program.FormatCount())) {
        program = std::move(before);
        return {ReceiveSizesResult::PutBack, Outcome::Done()};
    }
    // The entries taken back by Undo belong to the program that was replaced.
    edit.restart();
    return {read == TransferFileRead::SectionRefused ? ReceiveSizesResult::PartlyRead
                                                     : ReceiveSizesResult::Received,
            read.outcome};
}
