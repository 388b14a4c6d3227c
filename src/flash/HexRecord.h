#pragma once

#include <QByteArray>
#include <QString>

// One line of an Intel HEX image as the firmware update reads it: ':' then the byte count
// (2 hex digits), the load offset (4), the record type (2), the data (2 per byte) and the
// checksum (2). Record types are not interpreted: every line is checked and sent alike.
namespace HexRecord {
// The line can be a record at all: not empty and starting with ':'.
bool StartsRecord(const QByteArray& line);
// Shape of a sound record: 11 + 2·n characters, hex digits only after the ':', and the byte
// count field equal to n. A damaged line fails here even when its checksum happens to match.
bool IsWellFormed(const QByteArray& line);
// The checksum the line must carry: the two's complement of the sum of the pairs from
// character 2 up to the one before the checksum, as two upper-case hex digits.
QByteArray ExpectedChecksum(const QByteArray& line);
// The line's last two characters equal the expected checksum, letter case included:
// the controller's loader compares the upper-case text.
bool ChecksumMatches(const QByteArray& line);
// (length - 11) / 2, the number of data bytes of a sound record.
int DataByteCount(const QByteArray& line);
// The byte count field (characters 2-3); -1 when it is missing or not hex.
int DeclaredByteCount(const QByteArray& line);
// A record at load offset 0600h of type 00 (in any address segment): its data is the
// firmware's version tag.
bool IsVersionRecord(const QByteArray& line);
// The data bytes of the line, one byte per hex pair, in order.
QByteArray DataBytes(const QByteArray& line);
// The load offset (characters 4-7); -1 when the line is too short to have one.
int LoadOffset(const QByteArray& line);
// How the update shows an address: five upper-case hex digits and "H" (0xC000 gives "0C000H").
QString AddressText(qint64 offset);
} // namespace HexRecord
