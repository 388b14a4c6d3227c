#include "model/Outcome.h"

#include "model/LanguageTexts.h"

Outcome Outcome::Done(Holds holds) {
    Outcome outcome;
    outcome.holds = holds;
    return outcome;
}

Outcome Outcome::Refusal(const QString& message, const QString& place, const QString& cause,
                         const QString& stage) {
    return {Result::Refused, message, place, cause, stage, Holds::Unchanged};
}

Outcome Outcome::Failure(const QString& message, const QString& place, const QString& cause,
                         const QString& stage, Holds holds) {
    return {Result::Failed, message, place, cause, stage, holds};
}

Outcome Outcome::Stop(const QString& stage, Holds holds) {
    return {Result::Stopped, QString(), QString(), QString(), stage, holds};
}

QString Outcome::where() const {
    QString line = place;
    if (!stage.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(", ")) + stage;
    if (!cause.isEmpty())
        line += (line.isEmpty() ? QString() : QStringLiteral(": ")) + cause;
    return line;
}

QString Outcome::summary() const {
    const QString first = message.simplified();
    const QString second = where();
    if (second.isEmpty() || second == message)
        return first;
    return first.isEmpty() ? second : first + QStringLiteral(" (") + second + QLatin1Char(')');
}

QString Outcome::text(const LanguageTexts& texts) const {
    QStringList lines;
    if (!message.isEmpty())
        lines.append(message);
    const QString second = where();
    if (!second.isEmpty() && second != message)
        lines.append(second);
    if (holds == Holds::IncompleteProgram)
        lines.append(texts.Text(340));
    else if (holds == Holds::NoFirmware)
        lines.append(texts.Text(341));
    return lines.join(QLatin1Char('\n'));
}

QString OutcomeResultName(Outcome::Result result) {
    switch (result) {
    case Outcome::Result::Done:
        return QStringLiteral("done");
    case Outcome::Result::Refused:
        return QStringLiteral("refused");
    case Outcome::Result::Failed:
        break;
    case Outcome::Result::Stopped:
        return QStringLiteral("stopped");
    }
    return QStringLiteral("failed");
}
