#include "model/PromptAnswer.h"

namespace PromptAnswer {

long long Value(const QString& text) {
    constexpr long long ceiling = 1000000000000LL; // a wild answer must never overflow
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    auto isDigit = [&text](qsizetype k) {
        return k < text.size() && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9');
    };
    long long value = 0;
    for (; isDigit(i); ++i) {
        if (value < ceiling)
            value = value * 10 + (text[i].unicode() - '0');
    }
    // Only the first digit of the fraction decides the rounding.
    if (i < text.size() && text[i] == QLatin1Char('.') && isDigit(i + 1) &&
        text[i + 1] >= QLatin1Char('5') && value < ceiling)
        ++value;
    return negative ? -value : value;
}

} // namespace PromptAnswer
