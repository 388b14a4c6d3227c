#pragma once

#include <QString>
#include <QStringView>

// The number-to-text forms used throughout the program, its files and the line.
namespace NumberForms {
// Zeros in front, the last two characters kept: 3 gives "03", 123 gives "23".
QString TwoDigits(int n);
// Zeros in front, the last three characters kept: 3 gives "003".
QString ThreeDigits(int n);
// The standard form: one leading blank for a non-negative number (" 3"), "-" otherwise.
QString Standard(long long n);
// The printed-number form of the cam file: the standard form and one trailing blank (" 3 ").
QString Printed(long long n);

// How the fraction of a number read from text counts. Each reader keeps its own rule: cam
// files, typed answers and the line's fields were always read so.
enum class Rounding {
    // The fraction is not read ("2.9" reads 2); beyond about 10^13 the value stops growing.
    Truncate,
    // A typed answer: a first decimal of 5 or more rounds away from zero ("-2.5" reads -3);
    // beyond about 10^13 the value stops growing.
    ByFirstDecimal,
    // A cam file: the whole fraction counts, halves go to the even number ("2.5" reads 2,
    // "3.5" reads 4); far too large values read as the largest long long, so that range
    // checks after it always see them.
    HalfToEven,
};
// The number at the start of text: leading blanks and tabs skipped, an optional sign, the
// digits and an optional fraction after a point, rounded by rule. Text that is not a number
// reads 0.
long long LeadingNumber(QStringView text, Rounding rule);
} // namespace NumberForms
