#pragma once

#include <QString>

// How a typed answer to a number prompt is read: leading blanks skipped, an optional sign,
// the leading digits and an optional decimal fraction, rounded to the nearest whole number
// (halves away from zero). Text that is not a number, an empty answer and Cancel count as 0.
namespace PromptAnswer {
long long Value(const QString& text);
} // namespace PromptAnswer
