#include "editor/EntryRules.h"

#include <algorithm>

namespace EntryRules {

int AngleValue(const QString& text) {
    int value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        // Three positions at most, but never let a longer text overflow.
        value = std::min(value * 10 + (c.unicode() - '0'), 99999);
    }
    return value;
}

QString ClampedAngleText(const QString& text) {
    return AngleValue(text) > 359 ? QStringLiteral("359") : text;
}

int CamAfterKey(CamKey key, int current, int count) {
    if (count < 1)
        return 1;
    current = std::clamp(current, 1, count);
    switch (key) {
    case CamKey::PageUp:
        return current == 1 ? count : current - 1;
    case CamKey::PageDown:
        return current == count ? 1 : current + 1;
    case CamKey::End:
        return count;
    case CamKey::Home:
        return 1;
    case CamKey::Left:
    case CamKey::Right:
        break;
    }
    return current;
}

} // namespace EntryRules
