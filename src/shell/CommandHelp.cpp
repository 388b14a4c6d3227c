#include "shell/CommandHelp.h"

#include "Q517Paths.h"
#include "model/LanguageTexts.h"

namespace {
constexpr int TermWidth = 18;
const QString WorkDir = QStringLiteral("~/.local/share/q517/");
} // namespace

namespace CommandHelp {

QString Section(const QString& title, const QList<Item>& items) {
    QString text = title + QStringLiteral("\n");
    for (const Item& item : items) {
        const QString term = QStringLiteral("  ") + item.first;
        if (item.second.isEmpty())
            text += term + QStringLiteral("\n");
        else if (term.size() < TermWidth)
            text += term.leftJustified(TermWidth) + item.second + QStringLiteral("\n");
        else
            text += term + QStringLiteral("\n") + QString(TermWidth, QLatin1Char(' ')) +
                    item.second + QStringLiteral("\n");
    }
    return text;
}

QString ExitStatus(const LanguageTexts& texts, Statuses statuses) {
    const QString zero = QStringLiteral("0");
    const QString one = QStringLiteral("1");
    const QString two = QStringLiteral("2");
    QList<Item> items;
    switch (statuses) {
    case Statuses::DoneOrWrongArguments:
        items = {{zero, texts.Text(487)}, {two, texts.Text(489)}};
        break;
    case Statuses::DoneFailedOrWrongArguments:
        items = {{zero, texts.Text(487)}, {one, texts.Text(488)}, {two, texts.Text(489)}};
        break;
    case Statuses::DoneShortOrFailed:
        items = {{zero, texts.Text(487)},
                 {one, texts.Text(498)},
                 {two, texts.Text(489) + QStringLiteral("; ") + texts.Text(488)}};
        break;
    case Statuses::SameDifferentOrFailed:
        items = {{zero, texts.Text(496)},
                 {one, texts.Text(499)},
                 {two, texts.Text(489) + QStringLiteral("; ") + texts.Text(488)}};
        break;
    }
    return Section(texts.Text(486), items);
}

QString Files(const LanguageTexts& texts, bool withLine) {
    QList<Item> items{
        {WorkDir + QStringLiteral("q517_opt.def"), texts.Text(491)},
        {QStringLiteral(Q517_INSTALLED_DATA_DIR "/*.SCR"), texts.Text(492)},
    };
    if (withLine) {
        items.append({WorkDir + QStringLiteral("ports/COMn"), texts.Text(493)});
        items.append({WorkDir + QStringLiteral("__.__"), texts.Text(494)});
    }
    return Section(texts.Text(490), items);
}

} // namespace CommandHelp
