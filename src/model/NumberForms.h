#pragma once

#include <QString>

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
// The value of a text read as a number the way prompts read it: leading blanks skipped,
// an optional sign, then the leading digits; text that is not a number counts as 0.
long long LeadingValue(const QString& text);
} // namespace NumberForms
