#include "model/TextFile.h"

#include "model/FileAccess.h"

namespace TextFile {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five undefined codes, which map to themselves.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace

QString DecodeCp1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0)
            u = kHighControls[b - 0x80];
        *out++ = QChar(u);
    }
    return text;
}

QByteArray EncodeCp1252(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            b = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kHighControls[i] == u || (kHighControls[i] == 0 && u == 0x80 + i)) {
                    b = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        *out++ = b;
    }
    return bytes;
}

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype lf = text.indexOf(QLatin1Char('\n'), start);
        if (lf < 0) {
            lines.append(text.mid(start));
            break;
        }
        qsizetype end = lf;
        if (end > start && text[end - 1] == QLatin1Char('\r'))
            --end;
        lines.append(text.mid(start, end - start));
        start = lf + 1;
    }
    return lines;
}

bool ReadAll(const QString& path, QByteArray& bytes, QString* errorText) {
    return FileAccess::ReadInput(path, FileAccess::CamFileLimit, bytes, errorText);
}

bool WriteLines(const QString& path, const QStringList& lines, QString* errorText) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += EncodeCp1252(line);
        bytes += "\r\n";
    }
    return FileAccess::WriteAtomically(path, bytes, errorText);
}

} // namespace TextFile
