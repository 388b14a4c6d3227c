#pragma once

#include <QByteArray>
#include <QString>

// The version tag the firmware carries in its records at offset 0600h: the program CRC in
// characters 1-6, the month in 7-8, then day and year behind separators ("4F21A703/15/2010").
namespace FirmwareTag {
// Only the first 16 characters are ever shown.
constexpr int ShownLength = 16;

// "JAN" for 1 ... "DEC" for 12; an empty text for any other month.
QString MonthName(int month);
// The month of characters 7-8; 0 when they are missing or not both digits.
int Month(const QByteArray& tag);
// The row the update window draws: " CRC Prog:  4F21A7  Date Prog: MAR 15 2010", or an
// empty text when the tag carries no month above 0.
QString TagLine(const QByteArray& tag);
} // namespace FirmwareTag
