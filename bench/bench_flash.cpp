// Firmware image check of a 1 MiB image: the operator waits for it before the update starts.
#include "flash/ImageCheck.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray Record(int offset, int type, const QByteArray& data) {
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
QByteArray Image(qint64 size) {
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

} // namespace

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("image.hex"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Image(1 << 20)) < 0)
        return 1;
    file.close();

    std::vector<double> runs;
    qint64 lines = 0;
    for (int i = 0; i < 15; ++i) {
        QElapsedTimer timer;
        timer.start();
        const ImageCheckResult result = CheckImage(path, [](qint64, qint64) {});
        runs.push_back(timer.nsecsElapsed() / 1e6);
        if (!result.passed())
            return 1;
        lines = result.lines;
    }
    std::sort(runs.begin(), runs.end());
    std::printf("BENCH check of a 1 MiB image (%lld lines), median of 15 | %.1f ms | < 50 ms\n",
                static_cast<long long>(lines), runs[runs.size() / 2]);
    return 0;
}
