#include "flash/HexRecord.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The pair starting at 0-based index i, read as hex up to its first other character.
int PairValue(const QByteArray& line, int i) {
    int value = 0;
    for (int k = i; k < i + 2 && k < line.size(); ++k) {
        const int d = HexDigit(line.at(k));
        if (d < 0)
            break;
        value = value * 16 + d;
    }
    return value;
}

} // namespace

namespace HexRecord {

bool StartsRecord(const QByteArray& line) {
    return !line.isEmpty() && line.at(0) == ':';
}

bool IsWellFormed(const QByteArray& line) {
    if (!StartsRecord(line) || line.size() < 11 || line.size() % 2 == 0)
        return false;
    for (int i = 1; i < line.size(); ++i) {
        if (HexDigit(line.at(i)) < 0)
            return false;
    }
    return DeclaredByteCount(line) == DataByteCount(line);
}

QByteArray ExpectedChecksum(const QByteArray& line) {
    unsigned sum = 0;
    // Pairs start at 1-based positions 2, 4, ... up to length - 3.
    for (int pos = 2; pos <= line.size() - 3; pos += 2)
        sum += unsigned(PairValue(line, pos - 1));
    const unsigned check = (256 - (sum % 256)) % 256;
    return QByteArray::number(check, 16).toUpper().rightJustified(2, '0');
}

bool ChecksumMatches(const QByteArray& line) {
    return line.size() >= 2 && line.right(2) == ExpectedChecksum(line);
}

int DataByteCount(const QByteArray& line) {
    return (int(line.size()) - 11) / 2;
}

int DeclaredByteCount(const QByteArray& line) {
    if (line.size() < 3 || HexDigit(line.at(1)) < 0 || HexDigit(line.at(2)) < 0)
        return -1;
    return PairValue(line, 1);
}

bool IsVersionRecord(const QByteArray& line) {
    return line.size() >= 11 && line.mid(3, 6).toUpper() == "060000";
}

QByteArray DataBytes(const QByteArray& line) {
    QByteArray data;
    // Data pairs run from position 10 to the one before the checksum.
    for (int pos = 10; pos <= line.size() - 3; pos += 2)
        data.append(char(PairValue(line, pos - 1)));
    return data;
}

int LoadOffset(const QByteArray& line) {
    if (line.size() < 7)
        return -1;
    return PairValue(line, 3) * 256 + PairValue(line, 5);
}

QString AddressText(qint64 offset) {
    return QStringLiteral("%1H").arg(offset, 5, 16, QLatin1Char('0')).toUpper();
}

} // namespace HexRecord
