#pragma once

#include <QByteArray>

// Firmware images for the flash benchmarks: Intel HEX text as the update reads it.
namespace FirmwareImages {

inline QByteArray Record(int offset, int type, const QByteArray& data) {
    QByteArray body;
    body.append(char(data.size()));
    body.append(char((offset >> 8) & 0xFF));
    body.append(char(offset & 0xFF));
    body.append(char(type));
    body.append(data);
    unsigned sum = 0;
    for (char c : body)
        sum += static_cast<unsigned char>(c);
    body.append(char((0x100 - (sum & 0xFF)) & 0xFF));
    return ":" + body.toHex().toUpper() + "\r\n";
}

// An image of size bytes on disk: 16-byte data records across 64 KiB segments.
inline QByteArray Image(qint64 size) {
    QByteArray image;
    image.reserve(size + 64);
    int offset = 0, segment = 0;
    QByteArray data(16, '\0');
    while (image.size() < size - 13) {
        if (offset == 0)
            image += Record(
                0, 4,
                QByteArray::fromHex(QByteArray::number(segment++, 16).rightJustified(4, '0')));
        for (int i = 0; i < 16; ++i)
            data[i] = char((offset + i * 13) & 0xFF);
        image += Record(offset, 0, data);
        offset = (offset + 16) & 0xFFFF;
    }
    image += ":00000001FF\r\n";
    return image;
}

} // namespace FirmwareImages
