#include "production/LineProgress.h"

#include "model/LanguageTexts.h"
#include "production/LineReport.h"

QString LineProgress::TargetLine(const TargetStatus& s, int nameWidth, const LanguageTexts& texts) {
    QString line = s.target.name().leftJustified(nameWidth) + QStringLiteral("  ") +
                   (s.type.isEmpty() ? QStringLiteral("-") : s.type).leftJustified(6);
    switch (s.result) {
    case TargetStatus::Result::Waiting:
        line += QStringLiteral("  ") + texts.Text(525);
        break;
    case TargetStatus::Result::Running:
        if (!s.stage.isEmpty())
            line += QStringLiteral("  ") + s.stage;
        if (s.percent >= 0)
            line += QStringLiteral("  ") + QString::number(s.percent) + QLatin1Char('%');
        break;
    default:
        line += QStringLiteral("  ") + ResultName(s.result) +
                QStringLiteral(" %1 s").arg(s.seconds, 0, 'f', 1) +
                (s.cause.isEmpty() ? QString() : QStringLiteral(": ") + s.cause);
        break;
    }
    return line;
}

QByteArray LineProgress::update(const QList<TargetStatus>& statuses) {
    int nameWidth = 0;
    for (const TargetStatus& s : statuses)
        nameWidth = std::max(nameWidth, int(s.target.name().size()));
    QByteArray out;
    if (!terminal_) {
        for (int k = 0; k < int(statuses.size()); ++k) {
            const QString line = TargetLine(statuses[k], nameWidth, texts_);
            if (lastLines_.value(k) == line)
                continue;
            lastLines_[k] = line;
            out += line.toLocal8Bit() + '\n';
        }
        return out;
    }
    // Back to the top of the block, then every line cleared and written again.
    if (shownLines_ > 0)
        out += "\x1b[" + QByteArray::number(shownLines_) + 'A';
    for (const TargetStatus& s : statuses) {
        QString line = TargetLine(s, nameWidth, texts_);
        if (width_ > 1 && line.size() >= width_)
            line.truncate(width_ - 1);
        out += "\r\x1b[2K" + line.toLocal8Bit() + '\n';
    }
    shownLines_ = int(statuses.size());
    return out;
}
