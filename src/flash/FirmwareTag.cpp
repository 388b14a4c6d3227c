#include "flash/FirmwareTag.h"

#include "model/TextFile.h"

namespace FirmwareTag {

QString MonthName(int month) {
    static const char table[] = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    if (month < 1 || month > 12)
        return QString();
    return QString::fromLatin1(table + (month - 1) * 3, 3);
}

int Month(const QByteArray& tag) {
    if (tag.size() < 8)
        return 0;
    const char tens = tag.at(6), units = tag.at(7);
    if (tens < '0' || tens > '9' || units < '0' || units > '9')
        return 0;
    return (tens - '0') * 10 + (units - '0');
}

QString TagLine(const QByteArray& tag) {
    const int month = Month(tag);
    if (month <= 0)
        return QString();
    QByteArray shown = tag.left(ShownLength);
    // The separators of the date are shown as blanks, whatever the build wrote there.
    for (int index : {8, 11}) {
        if (index < shown.size())
            shown[index] = ' ';
    }
    // Tag bytes are single-byte characters of the controller's code page.
    const QString text = TextFile::DecodeCp1252(shown);
    return QStringLiteral(" CRC Prog:  ") + text.left(6) + QStringLiteral("  Date Prog: ") +
           MonthName(month) + text.mid(8);
}

} // namespace FirmwareTag
