#include "link/LineCodec.h"

namespace LineCodec {

namespace {
unsigned codeSum(const QByteArray& text) {
    unsigned sum = 0;
    for (const char c : text)
        sum += static_cast<unsigned char>(c);
    return sum;
}
} // namespace

QByteArray LineChecksum(const QByteArray& command) {
    const QByteArray hex = QByteArray::number(codeSum(command), 16).toUpper();
    return hex.right(2);
}

char TransferCheckChar(const QByteArray& command) {
    unsigned code = codeSum(command) & 0xFF;
    if (code < 32)
        code += 32;
    return static_cast<char>(code);
}

int FrameCheckChar(const QByteArray& frame) {
    unsigned check = 0;
    for (qsizetype i = 1; i < frame.size(); ++i) {
        check ^= static_cast<unsigned char>(frame.at(i));
        if (frame.at(i) == Etx)
            break;
    }
    if (check < 32)
        check += 32;
    return int(check);
}

QByteArray BuildFrame(const QByteArray& text) {
    QByteArray frame;
    frame.reserve(text.size() + 3);
    frame.append(Stx).append(text).append(Etx);
    frame.append(static_cast<char>(FrameCheckChar(frame)));
    return frame;
}

bool ParseFrame(const QByteArray& frame, QByteArray* text) {
    if (frame.size() < 3 || frame.at(0) != Stx || frame.at(frame.size() - 2) != Etx)
        return false;
    const QByteArray body = frame.left(frame.size() - 1);
    if (body.indexOf(Etx) != body.size() - 1)
        return false;
    if (static_cast<unsigned char>(frame.back()) != FrameCheckChar(body))
        return false;
    if (text)
        *text = frame.mid(1, frame.size() - 3);
    return true;
}

QByteArray CommandLine(const QByteArray& command) {
    return command + LineChecksum(command) + Cr;
}

QByteArray TransferCommand(const QByteArray& command) {
    return command + TransferCheckChar(command) + Cr;
}

} // namespace LineCodec

QByteArray AppendLineChecksum(QByteArray& command) {
    command = LineCodec::CommandLine(command);
    return command;
}

QByteArray CommandCheckChar(const QByteArray& command) {
    return QByteArray(1, LineCodec::TransferCheckChar(command));
}
