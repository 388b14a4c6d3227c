#include "link/ComPortControl.h"

#include "model/LanguageTexts.h"

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

QString Describe(Command command, const QByteArray& value, const LanguageTexts& texts) {
    const int byte = value.size() == 1 ? int(uint8_t(value.at(0))) : -1;
    const auto asCommand = [&](const char* name) {
        return QString::fromLatin1(name) + QLatin1Char(' ') +
               QString::fromLatin1(value.toHex(' ')).toUpper();
    };
    switch (command) {
    case SetBaudRate:
        return value.size() == 4 ? texts.Text(614).arg(qFromBigEndian<quint32>(value.constData()))
                                 : asCommand("SET-BAUDRATE");
    case SetDataSize:
        return byte >= 0 ? texts.Text(615).arg(byte) : asCommand("SET-DATASIZE");
    case SetParity:
        return byte == ParityNone ? texts.Text(616) : asCommand("SET-PARITY");
    case SetStopSize:
        return byte >= 0 ? texts.Text(617).arg(byte) : asCommand("SET-STOPSIZE");
    case SetControl:
        return byte == HardwareFlowControl ? texts.Text(618)
               : byte == NoFlowControl     ? texts.Text(619)
                                           : asCommand("SET-CONTROL");
    default:
        return asCommand("COM-PORT-OPTION");
    }
}

} // namespace ComPort
