#include "model/NumberForms.h"

#include <cmath>
#include <limits>

namespace NumberForms {

static QString lastDigits(int n, int width) {
    const QString digits = QString::number(n);
    const QString padded = QString(width, QLatin1Char('0')) + digits;
    return padded.right(width);
}

QString TwoDigits(int n) {
    return lastDigits(n, 2);
}

QString ThreeDigits(int n) {
    return lastDigits(n, 3);
}

QString Standard(long long n) {
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

QString Printed(long long n) {
    return Standard(n) + QLatin1Char(' ');
}

static bool isDigitAt(QStringView text, qsizetype i) {
    return i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
}

// The digits of whole as a number that stops growing past about 10^13: a wild answer must
// never overflow.
static long long saturatedDigits(QStringView whole) {
    constexpr long long ceiling = 1000000000000LL;
    long long value = 0;
    for (const QChar c : whole) {
        if (value < ceiling)
            value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

static long long halfToEven(QStringView whole, QStringView fraction, bool negative) {
    double value = 0;
    for (const QChar c : whole)
        value = value * 10 + (c.unicode() - '0');
    double scale = 0.1;
    for (const QChar c : fraction) {
        value += (c.unicode() - '0') * scale;
        scale /= 10;
    }
    const double rounded = std::nearbyint(negative ? -value : value);
    constexpr double limit = 9.0e18;
    if (rounded > limit)
        return std::numeric_limits<long long>::max();
    if (rounded < -limit)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(rounded);
}

long long LeadingNumber(QStringView text, Rounding rule) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype wholeFrom = i;
    while (isDigitAt(text, i))
        ++i;
    const QStringView whole = text.mid(wholeFrom, i - wholeFrom);
    QStringView fraction;
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        const qsizetype fractionFrom = ++i;
        while (isDigitAt(text, i))
            ++i;
        fraction = text.mid(fractionFrom, i - fractionFrom);
    }
    long long value = 0;
    switch (rule) {
    case Rounding::Truncate:
        value = saturatedDigits(whole);
        break;
    case Rounding::ByFirstDecimal:
        value = saturatedDigits(whole);
        if (!fraction.isEmpty() && fraction[0] >= QLatin1Char('5') && value < 1000000000000LL)
            ++value;
        break;
    case Rounding::HalfToEven:
        return halfToEven(whole, fraction, negative);
    }
    return negative ? -value : value;
}

} // namespace NumberForms
