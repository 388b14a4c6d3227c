#include "link/LineProtocol.h"

#include "dialogs/Prompts.h"
#include "link/LineCodec.h"
#include "link/PortMap.h"
#include "link/SerialLine.h"
#include "model/NumberForms.h"
#include "shell/Clock.h"
#include "shell/Session.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Error numbers of the line, kept in PortStatus after a failed step (0 and 1 are taken).
enum LineError : int16_t {
    NoSuchPort = 101,
    OpenFailed = 102,
    SettingsRefused = 103,
};

constexpr int FlushMs = 1000;

void reportOpenError(Session& session, int16_t number, const QString& component,
                     const QString& description) {
    session.prompts.message(
        QStringLiteral("Errore ") + NumberForms::Standard(number) +
            QStringLiteral(" generato da ") + component + QLatin1Char('\n') + description,
        QStringLiteral("Errore su COM") + QString::number(session.options.PortNumber),
        Prompts::Buttons::Ok, Prompts::Icon::Critical);
    session.link.PortStatus = number;
}

QString deviceFor(const Session& session) {
    if (!session.link.DeviceOverride.isEmpty())
        return session.link.DeviceOverride;
    return PortMap::PortDevice(session.options.PortNumber, session.workDir);
}

int remaining(const Session& session, int64_t deadline, int cap) {
    const int64_t left = deadline - session.clock.nowMs();
    return int(std::clamp<int64_t>(left, 0, cap));
}

// One wait for a byte of a frame exchange: in slices with the window's hook run between
// them when a transfer window is open, else in one block up to the deadline.
std::optional<uint8_t> readFrameByte(Session& session, int64_t deadline) {
    if (!session.link.WhileWaiting)
        return session.line.readByte(remaining(session, deadline, LineTiming::SilenceMs));
    session.link.WhileWaiting();
    return session.line.readByte(remaining(session, deadline, LineTiming::EventSliceMs));
}

void writeAndFlush(SerialLine& line, const QByteArray& bytes) {
    line.write(bytes);
    line.flush(FlushMs);
}

} // namespace

void OpenSerialPort(Session& session) {
    SerialLine& line = session.line;
    if (!line.isOpen()) {
        const QString device = deviceFor(session);
        if (device.isEmpty() || !QFileInfo::exists(device)) {
            // Opening a device that is not there can only fail the same way again.
            reportOpenError(session, NoSuchPort, QStringLiteral("SerialLine"),
                            QStringLiteral("COM") + QString::number(session.options.PortNumber) +
                                QStringLiteral(" is not a serial port of this machine") +
                                (device.isEmpty()
                                     ? QString()
                                     : QStringLiteral(" (") + device + QLatin1Char(')')));
        } else {
            QString why;
            if (!line.open(device, &why))
                reportOpenError(session, OpenFailed, QStringLiteral("SerialLine"),
                                device + QStringLiteral(": ") + why);
        }
    }
    if (line.isOpen()) {
        bool isNumber = false;
        const int baud = session.options.BaudRate.trimmed().toInt(&isNumber);
        if (!isNumber || baud <= 0 || !line.setBaudRate(baud))
            reportOpenError(session, SettingsRefused, QStringLiteral("SerialLine"),
                            QStringLiteral("line settings ") + session.options.BaudRate +
                                QStringLiteral(",n,8,1 refused"));
        line.setHardwareFlowControl(true);
        if (line.ctsAsserted()) {
            session.link.PortStatus = 0;
            return;
        }
    }
    line.close();
    session.link.PortStatus = 1;
}

void CloseSerialPort(Session& session) {
    if (session.line.isOpen())
        session.line.close();
}

QByteArray SerialComStr(Session& session, QByteArray& command) {
    SerialLine& line = session.line;
    AppendLineChecksum(command);
    line.clearInput();
    writeAndFlush(line, command);

    QByteArray collected;
    int64_t deadline = session.clock.nowMs() + LineTiming::SilenceMs;
    for (;;) {
        session.prompts.processEvents();
        const std::optional<uint8_t> c =
            line.readByte(remaining(session, deadline, LineTiming::EventSliceMs));
        if (c) {
            deadline = session.clock.nowMs() + LineTiming::SilenceMs;
            if (*c == 0)
                continue;
            collected.append(char(*c));
            // A reply line ends with CR; a controller that streams without one must not keep
            // us listening for ever, so the line ends at the size of the receive buffer.
            if (*c == uint8_t(LineCodec::Cr) || collected.size() >= LineTiming::MaxFrameLength)
                return collected;
            continue;
        }
        if (session.clock.nowMs() >= deadline)
            break;
    }
    session.prompts.message(QStringLiteral("COMM ERROR"), QString(), Prompts::Buttons::Ok,
                            Prompts::Icon::Warning);
    if (session.link.OnCommError)
        session.link.OnCommError();
    session.link.ReadFailed = true;
    return QByteArray();
}

bool SendFrame(Session& session, const QByteArray& text) {
    SerialLine& line = session.line;
    line.clearInput();
    const QByteArray frame = LineCodec::BuildFrame(text);
    for (int sending = 1; sending <= LineTiming::MaxFrameSendings; ++sending) {
        writeAndFlush(line, frame);
        const int64_t deadline = session.clock.nowMs() + LineTiming::SilenceMs;
        std::optional<uint8_t> answer;
        while (!answer) {
            answer = readFrameByte(session, deadline);
            if (!answer && session.clock.nowMs() >= deadline) {
                session.prompts.message(QStringLiteral("TIMEOUT SERIAL PORT "), QString(),
                                        Prompts::Buttons::Ok, Prompts::Icon::None);
                return false;
            }
        }
        if (*answer == uint8_t(LineCodec::Ack))
            return true;
    }
    session.prompts.message(QStringLiteral("TIMEOUT SERIAL PORT "), QString(), Prompts::Buttons::Ok,
                            Prompts::Icon::None);
    return false;
}

namespace {
// What a complete frame yields: its text when the block check holds, else every
// character as it came, so that the caller can keep it.
QByteArray frameResult(const QByteArray& collected) {
    const qsizetype etx = collected.indexOf(LineCodec::Etx);
    const qsizetype stx = collected.indexOf(LineCodec::Stx);
    if (etx < 0 || stx < 0 || stx > etx || etx + 1 >= collected.size())
        return collected;
    const QByteArray span = collected.mid(stx, etx - stx + 1);
    if (static_cast<unsigned char>(collected.at(etx + 1)) != LineCodec::FrameCheckChar(span))
        return collected;
    return collected.mid(stx + 1, etx - stx - 1);
}
} // namespace

QByteArray ReceiveFrame(Session& session) {
    SerialLine& line = session.line;
    QByteArray collected;
    bool etxSeen = false;
    int64_t deadline = session.clock.nowMs() + LineTiming::SilenceMs;
    for (;;) {
        const std::optional<uint8_t> c = readFrameByte(session, deadline);
        if (!c) {
            if (session.clock.nowMs() >= deadline)
                return QByteArray();
            continue;
        }
        deadline = session.clock.nowMs() + LineTiming::SilenceMs;
        if (*c == 0)
            continue;
        collected.append(char(*c));
        if (etxSeen)
            break;
        if (*c == uint8_t(LineCodec::Etx))
            etxSeen = true;
        else if (collected.size() >= LineTiming::MaxFrameLength)
            break;
    }
    line.discardOutput();
    writeAndFlush(line, QByteArray(1, LineCodec::Ack));
    return frameResult(collected);
}
