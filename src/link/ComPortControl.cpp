#include "link/ComPortControl.h"

#include <QtEndian>

namespace Telnet {

QByteArray Bytes(std::initializer_list<uint8_t> bytes) {
    QByteArray out;
    out.reserve(qsizetype(bytes.size()));
    for (const uint8_t b : bytes)
        out.append(char(b));
    return out;
}

QByteArray EscapeData(const QByteArray& data) {
    if (!data.contains(char(IAC)))
        return data;
    QByteArray escaped;
    escaped.reserve(data.size() + 8);
    for (const char c : data) {
        escaped.append(c);
        if (uint8_t(c) == IAC)
            escaped.append(c);
    }
    return escaped;
}

QByteArray OptionCommand(uint8_t command, uint8_t option) {
    return Bytes({IAC, command, option});
}

} // namespace Telnet

namespace ComPort {

QByteArray Request(Command command, const QByteArray& value) {
    using namespace Telnet;
    return Bytes({IAC, SB, ComPortOption, command}) + EscapeData(value) + Bytes({IAC, SE});
}

QByteArray BaudValue(int baud) {
    QByteArray value(4, '\0');
    qToBigEndian(quint32(baud), value.data());
    return value;
}

std::optional<QByteArray> AnswerTo(Command command, const QByteArray& payload) {
    if (payload.isEmpty() || uint8_t(payload.at(0)) != command + ServerOffset)
        return std::nullopt;
    return payload.mid(1);
}

QString Describe(Command command, const QByteArray& value) {
    const auto byte = [&] { return value.isEmpty() ? -1 : int(uint8_t(value.at(0))); };
    switch (command) {
    case SetBaudRate:
        return value.size() == 4
                   ? QStringLiteral("speed %1").arg(qFromBigEndian<quint32>(value.constData()))
                   : QStringLiteral("speed of %1 bytes").arg(value.size());
    case SetDataSize:
        return QStringLiteral("%1 data bits").arg(byte());
    case SetParity:
        return byte() == ParityNone ? QStringLiteral("no parity")
                                    : QStringLiteral("parity %1").arg(byte());
    case SetStopSize:
        return QStringLiteral("stop bits %1").arg(byte());
    case SetControl:
        return byte() == HardwareFlowControl ? QStringLiteral("RTS/CTS flow control")
               : byte() == NoFlowControl     ? QStringLiteral("no flow control")
                                             : QStringLiteral("flow control %1").arg(byte());
    default:
        return QStringLiteral("value %1").arg(QString::fromLatin1(value.toHex(' ')));
    }
}

} // namespace ComPort
