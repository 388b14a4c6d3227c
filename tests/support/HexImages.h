#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// Intel HEX records and image files for the firmware tests, built from their parts.
namespace HexImages {
// ":" count offset type data checksum, upper-case, the checksum summed byte by byte.
inline QByteArray Record(int offset, int type, const QByteArray& data) {
    QByteArray body;
    body.append(char(data.size()));
    body.append(char((offset >> 8) & 0xFF));
    body.append(char(offset & 0xFF));
    body.append(char(type));
    body.append(data);
    int sum = 0;
    for (char c : body)
        sum += static_cast<unsigned char>(c);
    body.append(char((0x100 - (sum & 0xFF)) & 0xFF));
    return ":" + body.toHex().toUpper();
}
inline QByteArray DataRecord(int offset, int bytes) {
    QByteArray data;
    for (int i = 0; i < bytes; ++i)
        data.append(char((offset + i * 7) & 0xFF));
    return Record(offset, 0, data);
}
inline QByteArray EndRecord() {
    return QByteArrayLiteral(":00000001FF");
}
// count data records of 16 bytes followed by the end record: count + 1 lines.
inline QList<QByteArray> Image(int dataLines) {
    QList<QByteArray> lines;
    for (int i = 0; i < dataLines; ++i)
        lines.append(DataRecord((i * 16) & 0xFFFF, 16));
    lines.append(EndRecord());
    return lines;
}
inline bool Write(const QString& path, const QList<QByteArray>& lines,
                  const QByteArray& lineEnd = "\r\n") {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    for (const QByteArray& line : lines)
        file.write(line + lineEnd);
    return true;
}
} // namespace HexImages
