#include "link/ReceivedFormats.h"

#include "model/CamLineCursor.h"
#include "model/LanguageTexts.h"
#include "model/NumberForms.h"

ReceivedFormats ReceivedFormats::Scan(const QByteArray& transferFile) {
    ReceivedFormats received;
    CamLineCursor in(transferFile);
    while (in.ReadLine()) {
        const QStringView line = in.Line();
        if (line == QLatin1String("END")) {
            received.ended = true;
            break;
        }
        // The header's number is in its last two characters, as the section reader takes it.
        if (line.contains(QLatin1String("FORMATO N. ")))
            received.formats.append(int(NumberForms::LeadingNumber(
                line.right(2).toString(), NumberForms::Rounding::Truncate)));
    }
    return received;
}

bool ReceivedFormats::Whole(int formatCount) const {
    if (!ended || formats.size() != formatCount)
        return false;
    for (int i = 0; i < formatCount; ++i) {
        if (formats.at(i) != i + 1)
            return false;
    }
    return true;
}

QList<int> ReceivedFormats::Missing(int formatCount) const {
    QList<int> missing;
    for (int format = 1; format <= formatCount; ++format) {
        if (!formats.contains(format))
            missing.append(format);
    }
    return missing;
}

QString ReceivedFormats::MissingText(int formatCount, const LanguageTexts& texts) const {
    QStringList parts;
    const QList<int> missing = Missing(formatCount);
    for (int i = 0; i < missing.size();) {
        int j = i;
        while (j + 1 < missing.size() && missing.at(j + 1) == missing.at(j) + 1)
            ++j;
        parts.append(j == i ? QString::number(missing.at(i))
                            : QString::number(missing.at(i)) + QLatin1Char('-') +
                                  QString::number(missing.at(j)));
        i = j + 1;
    }
    const QString numbers = parts.join(QStringLiteral(", "));
    const bool one = missing.size() == 1;
    if (!missing.isEmpty() && ended)
        return (one ? texts.Text(630) : texts.Text(631)).arg(numbers);
    if (!missing.isEmpty())
        return (one ? texts.Text(632) : texts.Text(633)).arg(numbers);
    if (!ended)
        return texts.Text(634);
    return Whole(formatCount) ? QString() : texts.Text(635);
}
