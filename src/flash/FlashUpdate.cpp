#include "flash/FlashUpdate.h"

#include "dialogs/Prompts.h"
#include "flash/HexLineReader.h"
#include "flash/HexRecord.h"
#include "flash/ImageCheck.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "link/PortMap.h"
#include "link/SerialLine.h"
#include "shell/Clock.h"
#include "shell/Session.h"
#include "shell/TextFile.h"

#include <algorithm>

namespace {
constexpr uint8_t Enq = 0x05;
constexpr uint8_t Ack = 0x06;
constexpr uint8_t Nak = 0x15;
// Longest single wait on the port before the deadline is looked at again.
constexpr int64_t ReadSliceMs = 1000;
constexpr int FlushMs = 2000;
// The controller type whose loader switches to the fast speed after its ENQ.
const char FastLoaderType[] = "AVR_M1280";
} // namespace

FlashUpdate::FlashUpdate(Session& session, FlashView& view, QString hexFilePath,
                         qint64 imageLineCount)
    : session_(session), view_(view), path_(std::move(hexFilePath)),
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

FlashUpdate::Outcome FlashUpdate::Run() {
    if (!portFound()) {
        session_.prompts.inform(QStringLiteral("WRONG PORT N.") +
                                QString::number(session_.options.PortNumber));
        return Outcome::WrongPort;
    }
    if (!openPort())
        return Outcome::Abandoned;
    CheckDeviceReady();
    if (!confirm())
        return abandon(QString());
    if (!waitUntilReady())
        return abandon(QString());
    if (!enterUpdateMode() || !waitForErase() || !sendImage())
        return Outcome::Abandoned;
    return Outcome::Updated;
}

bool FlashUpdate::portFound() {
    if (portExists_)
        return portExists_(session_.options.PortNumber);
    const QString& device = session_.link.DeviceOverride;
    if (!device.isEmpty())
        return PortMap::DeviceExists(device);
    return EnumSerPorts(session_.options.PortNumber, session_.workDir);
}

bool FlashUpdate::openPort() {
    SerialLine& line = session_.line;
    if (!line.isOpen()) {
        const QString device =
            session_.link.DeviceOverride.isEmpty()
                ? PortMap::PortDevice(session_.options.PortNumber, session_.workDir)
                : session_.link.DeviceOverride;
        QString why;
        if (!line.open(device, &why)) {
            const QString port = QString::number(session_.options.PortNumber);
            session_.prompts.message(device + QStringLiteral(": ") + why,
                                     QStringLiteral("Errore su COM") + port, Prompts::Buttons::Ok,
                                     Prompts::Icon::Critical);
            return false;
        }
    }
    line.setBaudRate(FlashTiming::FlashBaud);
    line.setHardwareFlowControl(true);
    return true;
}

bool FlashUpdate::CheckDeviceReady() {
    ready_ = session_.line.ctsAsserted();
    view_.showLed(ready_ ? FlashView::Green : FlashView::Red);
    return ready_;
}

bool FlashUpdate::confirm() {
    if (confirmed_)
        return true;
    return session_.prompts.message(QStringLiteral("UPDATE FLASH ?"), QString(),
                                    Prompts::Buttons::YesNo,
                                    Prompts::Icon::Question) == Prompts::Answer::Yes;
}

bool FlashUpdate::waitUntilReady() {
    while (!CheckDeviceReady()) {
        if (session_.prompts.message(QStringLiteral("DEVICE NOT READY"), QString(),
                                     Prompts::Buttons::RetryCancel,
                                     Prompts::Icon::Critical) != Prompts::Answer::Retry)
            return false;
    }
    return true;
}

bool FlashUpdate::enterUpdateMode() {
    SerialLine& line = session_.line;
    line.setBaudRate(FlashTiming::FlashBaud);
    QByteArray type("?T");
    session_.link.TypeReply = TextFile::DecodeCp1252(SerialComStr(session_, type));

    QByteArray update(":FU");
    line.write(AppendLineChecksum(update));
    line.flush(FlushMs);

    if (!session_.link.TypeReply.contains(QLatin1String(FastLoaderType)))
        return true;
    // The loader announces with ENQ that it is about to listen at the fast speed.
    const int64_t deadline = session_.clock.nowMs() + FlashTiming::EnqWaitMs;
    for (;;) {
        const std::optional<uint8_t> c = readBefore(deadline);
        if (!c) {
            abandon(QStringLiteral("TIMEOUT SERIAL PORT "));
            return false;
        }
        if (*c == Enq)
            break;
    }
    line.setBaudRate(FlashTiming::FastBaud);
    return true;
}

bool FlashUpdate::waitForErase() {
    int64_t deadline = session_.clock.nowMs() + FlashTiming::EraseFirstMs;
    for (;;) {
        const std::optional<uint8_t> c = readBefore(deadline);
        if (!c) {
            abandon(QStringLiteral("TIMEOUT SERIAL PORT "));
            return false;
        }
        // Every character shows the erase is still going.
        deadline = session_.clock.nowMs() + FlashTiming::EraseRenewMs;
        if (*c == Ack)
            break;
    }
    using namespace FlashLayout;
    view_.drawText(ChipErased.x, ChipErased.y, QStringLiteral("CHIP ERASED"), FlashView::Bold12);
    view_.drawText(TransmitRow.x, TransmitRow.y,
                   QStringLiteral("Transmit Line:         Bytes:          Addr:"),
                   FlashView::Regular12);
    view_.repaint();
    return true;
}

bool FlashUpdate::sendImage() {
    startMs_ = session_.clock.nowMs();
    lineNumber_ = 0;
    byteTotal_ = 0;
    refresh_ = RefreshInterval(imageLineCount_);
    HexLineReader reader;
    if (!reader.open(path_)) {
        abandon(QStringLiteral("FILE UNUSABLE"));
        return false;
    }
    QByteArray line;
    while (reader.next(line)) {
        // A record without data is left out when another line follows; the second of two
        // such records is sent, and so is the end record on the last line.
        if (HexRecord::StartsRecord(line) && HexRecord::DeclaredByteCount(line) == 0 &&
            !reader.atEnd() && !reader.next(line))
            break;
        // The file was checked before the erase; a line that changed since must not reach
        // the controller's flash.
        if (!HexRecord::IsWellFormed(line) || !HexRecord::ChecksumMatches(line)) {
            abandon(QStringLiteral("FILE UNUSABLE"));
            return false;
        }
        ++lineNumber_;
        byteTotal_ += HexRecord::DataByteCount(line);
        const QString elapsed =
            QStringLiteral("Time:") + ElapsedText(session_.clock.nowMs() - startMs_);
        if (elapsed != elapsedShown_) {
            elapsedShown_ = elapsed;
            view_.drawText(FlashLayout::Elapsed.x, FlashLayout::Elapsed.y, elapsed,
                           FlashView::Bold12);
        }
        if (lineNumber_ % refresh_ == 0)
            showTransmitted(line);
        if (!sendLine(line))
            return false;
    }
    if (reader.failed()) {
        abandon(QStringLiteral("FILE UNUSABLE"));
        return false;
    }
    reader.close();

    using namespace FlashLayout;
    view_.drawText(SentLines.x, SentLines.y, CounterText(lineNumber_), FlashView::Bold12);
    view_.drawText(SentBytes.x, SentBytes.y, CounterText(byteTotal_), FlashView::Bold12);
    view_.drawProgress(100);
    view_.drawText(Result.x, Result.y, QStringLiteral("DEVICE UPDATED WITH  ") + path_,
                   FlashView::BlueBold12);
    view_.repaint();
    session_.clock.sleepMs(FlashTiming::ResultShownMs);
    CloseSerialPort(session_);
    return true;
}

void FlashUpdate::showTransmitted(const QByteArray& line) {
    using namespace FlashLayout;
    view_.drawText(SentLines.x, SentLines.y, CounterText(lineNumber_), FlashView::Bold12);
    view_.drawText(SentBytes.x, SentBytes.y, CounterText(byteTotal_), FlashView::Bold12);
    view_.drawText(Address.x, Address.y, HexRecord::AddressField(line), FlashView::Bold12);
    const int percent =
        imageLineCount_ > 0 ? int(std::min<qint64>(100, lineNumber_ * 100 / imageLineCount_)) : 100;
    if (percent != percent_) {
        percent_ = percent;
        view_.drawProgress(percent);
    }
    view_.repaint();
}

bool FlashUpdate::sendLine(const QByteArray& line) {
    SerialLine& port = session_.line;
    const QByteArray sent = line + char(0x0D);
    for (int sending = 1; sending <= FlashTiming::MaxLineSendings; ++sending) {
        port.write(sent);
        port.flush(FlushMs);
        const int64_t deadline = session_.clock.nowMs() + FlashTiming::LineAnswerMs;
        std::optional<uint8_t> c;
        // Anything but ACK or NAK is noise on the line: it neither answers nor extends.
        while ((c = readBefore(deadline)) && *c != Ack && *c != Nak) {
        }
        if (!c)
            break;
        if (*c == Ack)
            return true;
    }
    abandon(QStringLiteral("TIMEOUT SERIAL PORT 1"));
    return false;
}

FlashUpdate::Outcome FlashUpdate::abandon(const QString& message) {
    if (!message.isEmpty())
        session_.prompts.inform(message);
    CloseSerialPort(session_);
    return Outcome::Abandoned;
}

std::optional<uint8_t> FlashUpdate::readBefore(int64_t deadline) {
    Clock& clock = session_.clock;
    for (;;) {
        const int64_t before = clock.nowMs();
        const int64_t left = deadline - before;
        if (left < 0 || !session_.line.isOpen())
            return std::nullopt;
        // One past the deadline, so that a wait that ends empty has passed it.
        if (const std::optional<uint8_t> c =
                session_.line.readByte(int(std::min(left + 1, ReadSliceMs))))
            return c;
        // A port that fails at once (unplugged) must not make this loop spin.
        if (clock.nowMs() == before)
            clock.sleepMs(std::min<int64_t>(left + 1, 10));
    }
}
