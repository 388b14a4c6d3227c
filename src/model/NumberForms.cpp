#include "model/NumberForms.h"

namespace NumberForms {

static QString lastDigits(int n, int width) {
    const QString digits = QString::number(n);
    const QString padded = QString(width, QLatin1Char('0')) + digits;
    return padded.right(width);
}

QString TwoDigits(int n) { return lastDigits(n, 2); }

QString ThreeDigits(int n) { return lastDigits(n, 3); }

QString Standard(long long n) {
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

QString Printed(long long n) { return Standard(n) + QLatin1Char(' '); }

long long LeadingValue(const QString& text) {
    int i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i) {
        if (value < 1000000000000LL) // saturate: a wild answer must never overflow
            value = value * 10 + (text[i].unicode() - '0');
    }
    return negative ? -value : value;
}

} // namespace NumberForms
