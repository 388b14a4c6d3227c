#include "flash/FlashUpdate.h"

#include "dialogs/Prompts.h"
#include "flash/HexLineReader.h"
#include "flash/HexRecord.h"
#include "link/Clock.h"
#include "link/ControllerLink.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "model/FileAccess.h"
#include "model/TextFile.h"

#include <algorithm>

namespace {
using LineCodec::Ack;
using LineCodec::Enq;
using LineCodec::Nak;
// The controller type whose loader switches to the fast speed after its ENQ.
const char FastLoaderType[] = "AVR_M1280";
using FlashPhase = ProgressObserver::Phase;
using Cause = Refusal::Cause;
} // namespace

FlashUpdate::FlashUpdate(const LinkContext& context, ProgressObserver& observer,
                         QString hexFilePath, qint64 imageLineCount)
    : context_(context), observer_(observer), path_(std::move(hexFilePath)),
      imageLineCount_(imageLineCount) {}

qint64 FlashUpdate::RefreshInterval(qint64 imageLineCount) {
    qint64 interval = imageLineCount / 100;
    const qint64 rest = imageLineCount % 100;
    if (rest > 50 || (rest == 50 && interval % 2 == 1))
        ++interval;
    return std::max<qint64>(1, interval);
}

QString FlashUpdate::ElapsedText(int64_t ms) {
    const int64_t seconds = std::max<int64_t>(0, ms) / 1000;
    auto two = [](int64_t v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    return two(seconds / 3600) + QLatin1Char(':') + two(seconds / 60 % 60) + QLatin1Char(':') +
           two(seconds % 60);
}

bool FlashUpdate::Run() {
    if (!openPort())
        return false;
    observer_.phaseBegun(FlashPhase::Connecting);
    CheckDeviceReady();
    if (!confirm() || !waitUntilReady())
        return refuse(Cause::Declined);
    if (!enterUpdateMode() || !waitForErase() || !sendImage())
        return false;
    CloseSerialPort(context_.link);
    observer_.done();
    return true;
}

bool FlashUpdate::openPort() {
    ControllerLink& link = context_.link;
    const QString& device = link.state.DeviceOverride;
    const int port = context_.portNumber;
    // A controller that is not ready yet is waited for below, with the port open.
    const LinkOpening opening = device.isEmpty() ? link.open(port, FlashTiming::FlashBaud)
                                                 : link.open(device, FlashTiming::FlashBaud);
    // A port that is not there leaves whatever line is open as it is.
    if (opening.status == LinkStatus::NoSuchPort) {
        observer_.refused(Refusal{Cause::WrongPort, port, QString()});
        return false;
    }
    if (!opening.opened())
        return refuse(Cause::PortFailed, port, LinkStatusText(opening));
    return true;
}

int FlashUpdate::usedPort() const {
    return context_.link.state.DeviceOverride.isEmpty() ? context_.portNumber : 0;
}

bool FlashUpdate::CheckDeviceReady() {
    const bool ready = context_.link.ctsAsserted();
    observer_.readyLine(ready);
    return ready;
}

bool FlashUpdate::confirm() {
    if (confirmed_)
        return true;
    return context_.prompts.message(context_.Text(240), QString(), Prompts::Buttons::YesNo,
                                    Prompts::Icon::Question) == Prompts::Answer::Yes;
}

bool FlashUpdate::waitUntilReady() {
    while (!CheckDeviceReady()) {
        if (context_.prompts.message(context_.Text(241), QString(), Prompts::Buttons::RetryCancel,
                                     Prompts::Icon::Critical) != Prompts::Answer::Retry)
            return false;
    }
    return true;
}

bool FlashUpdate::enterUpdateMode() {
    ControllerLink& line = context_.link;
    line.setBaudRate(FlashTiming::FlashBaud);
    QByteArray type("?T");
    context_.link.state.TypeReply = TextFile::DecodeCp1252(SerialComStr(context_, type));

    QByteArray update(":FU");
    line.send(AppendLineChecksum(update));

    if (!context_.link.state.TypeReply.contains(QLatin1String(FastLoaderType)))
        return true;
    // The loader announces with ENQ that it is about to listen at the fast speed.
    const int64_t deadline = context_.link.clock().nowMs() + FlashTiming::EnqWaitMs;
    for (;;) {
        const std::optional<uint8_t> c = readBefore(deadline);
        if (!c)
            return refuse(Cause::TimedOut);
        if (*c == Enq)
            break;
    }
    line.setBaudRate(FlashTiming::FastBaud);
    return true;
}

bool FlashUpdate::waitForErase() {
    observer_.phaseBegun(FlashPhase::Erasing);
    const int64_t start = context_.link.clock().nowMs();
    const int64_t end = start + FlashTiming::EraseTotalMs;
    int64_t deadline = start + FlashTiming::EraseFirstMs;
    for (;;) {
        const std::optional<uint8_t> c = readBefore(deadline);
        if (!c)
            return refuse(Cause::TimedOut);
        // Every character shows the erase is still going.
        deadline = std::min(end, context_.link.clock().nowMs() + FlashTiming::EraseRenewMs);
        if (*c == Ack)
            break;
    }
    observer_.erased();
    return true;
}

bool FlashUpdate::sendImage() {
    observer_.phaseBegun(FlashPhase::Transmitting);
    startMs_ = context_.link.clock().nowMs();
    lineNumber_ = 0;
    byteTotal_ = 0;
    const qint64 refresh = RefreshInterval(imageLineCount_);
    HexLineReader reader;
    QString why;
    if (!reader.open(path_, &why))
        return refuse(Cause::FileUnusable, 0, FileAccess::LocalCause(why, context_.texts));
    QByteArray line;
    while (reader.next(line)) {
        // A record without data is left out when another line follows; the second of two
        // such records is sent, and so is the end record on the last line.
        if (HexRecord::StartsRecord(line) && HexRecord::DeclaredByteCount(line) == 0 &&
            !reader.atEnd() && !reader.next(line))
            break;
        // The file was checked before the erase; a line that changed since must not reach
        // the controller's flash.
        if (!HexRecord::IsWellFormed(line) || !HexRecord::ChecksumMatches(line))
            return refuse(Cause::FileUnusable, lineNumber_ + 1);
        if (!sendLine(line))
            return false;
        ++lineNumber_;
        byteTotal_ += HexRecord::DataByteCount(line);
        // The bar shows 100 only once the last line is acknowledged.
        const bool last = reader.atEnd();
        if (last || lineNumber_ % refresh == 0)
            count(line, last ? 100
                             : int(std::min<qint64>(99, lineNumber_ * 100 /
                                                            std::max<qint64>(1, imageLineCount_))));
    }
    if (reader.failed())
        return refuse(Cause::FileUnusable, lineNumber_ + 1, QStringLiteral("read error"));
    return true;
}

void FlashUpdate::count(const QByteArray& line, int percent) {
    ProgressObserver::Counters counters;
    counters.line = lineNumber_;
    counters.bytes = byteTotal_;
    counters.address = HexRecord::LoadOffset(line);
    counters.percent = percent;
    counters.elapsedMs = context_.link.clock().nowMs() - startMs_;
    observer_.counted(counters);
}

bool FlashUpdate::sendLine(const QByteArray& line) {
    const QByteArray sent = line + LineCodec::Cr;
    for (int sending = 1; sending <= FlashTiming::MaxLineSendings; ++sending) {
        context_.link.send(sent);
        const int64_t deadline = context_.link.clock().nowMs() + FlashTiming::LineAnswerMs;
        std::optional<uint8_t> c;
        // Anything but ACK or NAK is noise on the line: it neither answers nor extends.
        while ((c = readBefore(deadline)) && *c != Ack && *c != Nak) {
        }
        if (!c)
            break;
        if (*c == Ack)
            return true;
    }
    return refuse(Cause::LineUnanswered, lineNumber_ + 1);
}

bool FlashUpdate::refuse(Refusal::Cause cause, qint64 number, const QString& detail) {
    // A wait that ended because the line is gone says so, with the OS cause.
    Refusal refusal = cause == Cause::TimedOut || cause == Cause::LineUnanswered
                          ? SilenceRefusal(cause, number, context_, usedPort())
                          : Refusal{cause, number, detail};
    refusal.port = usedPort();
    CloseSerialPort(context_.link);
    observer_.refused(refusal);
    return false;
}

std::optional<uint8_t> FlashUpdate::readBefore(int64_t deadline) {
    const LinkRead c = context_.link.read(deadline, [this] { observer_.waiting(); });
    if (!c.gotByte())
        return std::nullopt;
    return c.byte;
}
