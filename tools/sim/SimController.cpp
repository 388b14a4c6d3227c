#include "SimController.h"

#include "SimPty.h"
#include "link/FrameAssembler.h"
#include "link/LineAssembler.h"
#include "link/LineCodec.h"

#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
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
    err << "q517-sim: "
        << (config_.name.isEmpty() ? QString() : config_.name + QStringLiteral(": ")) << text
        << "\n";
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

void SimController::hangUp(const QString& when) {
    log(QStringLiteral("hung up ") + when + QStringLiteral(" (fault)"));
    pty_.hangUp();
}

std::optional<SimController::Frame> SimController::readFrame(int timeoutMs, bool stxRead) {
    FrameAssembler assembler;
    Frame frame;
    if (stxRead) {
        assembler.feed(uint8_t(LineCodec::Stx));
        frame.start = std::chrono::steady_clock::now();
    }
    for (;;) {
        const std::optional<uint8_t> c = readByte(timeoutMs);
        if (!c)
            return std::nullopt;
        if (assembler.raw().isEmpty())
            frame.start = std::chrono::steady_clock::now();
        switch (assembler.feed(*c)) {
        case FrameAssembler::Result::More:
            continue;
        case FrameAssembler::Result::TooLong:
            log(QStringLiteral("a frame longer than 4096 characters dropped"));
            return std::nullopt;
        case FrameAssembler::Result::NoFrame:
            log(QStringLiteral("more than 4096 characters and no frame began"));
            return std::nullopt;
        case FrameAssembler::Result::Frame:
            frame.checkOk = true;
            frame.text = assembler.text();
            break;
        case FrameAssembler::Result::BadCheck:
            break;
        }
        frame.raw = assembler.raw();
        return frame;
    }
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
    LineAssembler line;
    const bool silent = config_.fault(QStringLiteral("silent"));
    while (!stopRequested()) {
        const std::optional<uint8_t> c = pty_.readByte(PollSliceMs);
        if (!c)
            continue;
        if (silent)
            continue;
        if (*c == uint8_t(LineCodec::Stx) && line.line().isEmpty()) {
            if (const std::optional<Frame> frame = readFrame(3000, true))
                log(QStringLiteral("frame outside a transfer ignored: ") + printable(frame->raw));
            continue;
        }
        switch (line.feed(*c)) {
        case LineAssembler::Result::More:
            break;
        case LineAssembler::Result::Line:
            dispatchLine(line.line().chopped(1));
            line.reset();
            break;
        case LineAssembler::Result::TooLong:
            log(QStringLiteral("line without CR dropped"));
            line.reset();
            break;
        }
    }
}
