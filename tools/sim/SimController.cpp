#include "SimController.h"

#include "SimPty.h"
#include "link/LineCodec.h"

#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
constexpr int MaxLineLength = 4096;
constexpr int PollSliceMs = 200;
// --fault slow: each reply in this many pieces, this far apart (well under the 3000 ms
// the program waits for a character).
constexpr int SlowPieces = 3;
constexpr int SlowPauseMs = 700;
} // namespace

bool SimConfig::fault(const QString& name) const {
    return faults.contains(name) || faultValue(name).has_value();
}

std::optional<QString> SimConfig::faultValue(const QString& name) const {
    const QString prefix = name + QLatin1Char('=');
    for (const QString& f : faults) {
        if (f.startsWith(prefix))
            return f.mid(prefix.size());
    }
    return std::nullopt;
}

SimController::SimController(SimPty& pty, SimConfig config, volatile std::sig_atomic_t& stop)
    : pty_(pty), config_(std::move(config)), stop_(stop) {}

void SimController::onCommandLine(const QByteArray& command, CommandHandler handler) {
    const QByteArray line = LineCodec::CommandLine(command).chopped(1);
    lineHandlers_[line] = std::move(handler);
    lineNames_[line] = command;
}

void SimController::onTransferCommand(const QByteArray& command, CommandHandler handler) {
    const QByteArray line = LineCodec::TransferCommand(command).chopped(1);
    lineHandlers_[line] = std::move(handler);
    lineNames_[line] = command;
}

void SimController::log(const QString& text) const {
    QTextStream err(stderr);
    err << "q517-sim: " << text << "\n";
    err.flush();
}

void SimController::trace(const QString& text) const {
    if (config_.verbose)
        log(text);
}

QString SimController::printable(const QByteArray& bytes) {
    QString out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            out += QLatin1Char(c);
        else
            out += QStringLiteral("<%1>").arg(u, 2, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

std::optional<uint8_t> SimController::readByte(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (stopRequested())
            return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return pty_.readByte(0);
        if (auto c = pty_.readByte(int(std::min<long long>(left, PollSliceMs))))
            return c;
    }
}

void SimController::send(const QByteArray& bytes) {
    if (!config_.fault(QStringLiteral("slow")) || bytes.size() < 2) {
        pty_.write(bytes);
        return;
    }
    const int pieces = std::min<int>(SlowPieces, int(bytes.size()));
    for (int k = 0; k < pieces && !stopRequested(); ++k) {
        const qsizetype from = bytes.size() * k / pieces;
        const qsizetype to = bytes.size() * (k + 1) / pieces;
        if (k > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(SlowPauseMs));
        pty_.write(bytes.mid(from, to - from));
    }
}

void SimController::sendLine(const QByteArray& text) {
    send(text + LineCodec::Cr);
}

void SimController::discardInput() {
    pty_.discardInput();
}

std::optional<QByteArray> SimController::collectFrame(int timeoutMs) {
    QByteArray frame(1, LineCodec::Stx);
    bool etxSeen = false;
    for (;;) {
        const std::optional<uint8_t> c = readByte(timeoutMs);
        if (!c)
            return std::nullopt;
        frame.append(char(*c));
        if (etxSeen)
            return frame;
        if (*c == uint8_t(LineCodec::Etx))
            etxSeen = true;
        else if (frame.size() > MaxLineLength)
            return std::nullopt;
    }
}

std::optional<QByteArray> SimController::receiveFrame(int timeoutMs, bool ack, bool* checkOk) {
    for (;;) {
        const std::optional<uint8_t> c = readByte(timeoutMs);
        if (!c)
            return std::nullopt;
        if (*c == uint8_t(LineCodec::Stx))
            break;
    }
    const std::optional<QByteArray> frame = collectFrame(timeoutMs);
    if (!frame)
        return std::nullopt;
    QByteArray text;
    const bool ok = LineCodec::ParseFrame(*frame, &text);
    if (checkOk)
        *checkOk = ok;
    if (ok && ack)
        pty_.write(QByteArray(1, LineCodec::Ack));
    trace(QStringLiteral("frame in: ") + printable(*frame) +
          (ok ? QString() : QStringLiteral(" (bad check)")));
    return ok ? text : *frame;
}

bool SimController::sendFrame(const QByteArray& text, int timeoutMs) {
    send(LineCodec::BuildFrame(text));
    const std::optional<uint8_t> answer = readByte(timeoutMs);
    return answer && *answer == uint8_t(LineCodec::Ack);
}

void SimController::dispatchLine(const QByteArray& line) {
    const auto it = lineHandlers_.find(line);
    if (it == lineHandlers_.end()) {
        log(QStringLiteral("no answer to ") + printable(line) +
            QStringLiteral(" (unknown command or wrong checksum)"));
        return;
    }
    trace(QStringLiteral("command ") + printable(lineNames_[line]));
    it->second(*this);
}

void SimController::serve() {
    QByteArray line;
    const bool silent = config_.fault(QStringLiteral("silent"));
    while (!stopRequested()) {
        const std::optional<uint8_t> c = pty_.readByte(PollSliceMs);
        if (!c)
            continue;
        if (silent)
            continue;
        if (*c == uint8_t(LineCodec::Stx) && line.isEmpty()) {
            const std::optional<QByteArray> frame = collectFrame(3000);
            if (!frame)
                continue;
            QByteArray text;
            const bool ok = LineCodec::ParseFrame(*frame, &text);
            if (frameHandler_)
                frameHandler_(*this, ok ? text : *frame, ok);
            else
                log(QStringLiteral("frame outside a transfer ignored: ") + printable(*frame));
            continue;
        }
        if (*c == uint8_t(LineCodec::Cr)) {
            dispatchLine(line);
            line.clear();
            continue;
        }
        line.append(char(*c));
        if (line.size() > MaxLineLength) {
            log(QStringLiteral("line without CR dropped"));
            line.clear();
        }
    }
}
