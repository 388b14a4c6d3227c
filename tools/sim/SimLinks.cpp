#include "SimLinks.h"

#include "link/PortMap.h"

namespace {

constexpr int MaxLinks = 64;

// "--link PATH" or "--link=PATH" (and the same for --port): the option that starts a link.
bool startsLink(const QString& arg) {
    for (const char* name : {"--link", "--port"}) {
        const QLatin1String option(name);
        if (arg == option || arg.startsWith(option + QLatin1Char('=')))
            return true;
    }
    return false;
}

// The link option with its value: {"--link", PATH}, whichever way it was written.
QStringList linkOption(const QStringList& own) {
    const QString first = own.first();
    const qsizetype eq = first.indexOf(QLatin1Char('='));
    if (eq >= 0)
        return {first.left(eq), first.mid(eq + 1)};
    return {first, own.value(1)};
}

bool expandCount(int count, const QStringList& common, const QStringList& own,
                 QList<QStringList>* links, QString* problem) {
    const QStringList option = linkOption(own);
    const qsizetype valueTokens = own.first().contains(QLatin1Char('=')) ? 1 : 2;
    const QStringList rest = own.mid(valueTokens);
    for (int k = 0; k < count; ++k) {
        QString value;
        if (option[0] == QLatin1String("--link")) {
            value = option[1] + QString::number(k + 1);
        } else {
            bool ok = false;
            const int first = option[1].toInt(&ok);
            if (!ok || first < PortMap::FirstPort || first + count - 1 > PortMap::LastSerialPort) {
                *problem = QStringLiteral("--count %1 from --port %2 goes past port 1 to 64")
                               .arg(count)
                               .arg(option[1]);
                return false;
            }
            value = QString::number(first + k);
        }
        links->append(common + QStringList{option[0], value} + rest);
    }
    return true;
}

} // namespace

bool SplitLinkArguments(const QStringList& args, QList<QStringList>* links, QString* problem) {
    QStringList common;
    QList<QStringList> own;
    int count = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--count") || arg.startsWith(QLatin1String("--count="))) {
            const QString value = arg.contains(QLatin1Char('='))
                                      ? arg.section(QLatin1Char('='), 1)
                                      : (++i < args.size() ? args.at(i) : QString());
            bool ok = false;
            count = value.toInt(&ok);
            if (!ok || count < 1 || count > MaxLinks) {
                *problem = QStringLiteral("--count must be 1 to %1").arg(MaxLinks);
                return false;
            }
            continue;
        }
        if (startsLink(arg))
            own.append(QStringList{});
        QStringList& into = own.isEmpty() ? common : own.last();
        into.append(arg);
        // The value of a link option is never taken for an option of its own.
        if ((arg == QLatin1String("--link") || arg == QLatin1String("--port")) &&
            i + 1 < args.size())
            into.append(args.at(++i));
    }
    links->clear();
    if (count > 0) {
        if (own.size() != 1) {
            *problem = QStringLiteral("--count takes one --link PREFIX or one --port FIRST");
            return false;
        }
        return expandCount(count, common, own.first(), links, problem);
    }
    if (own.isEmpty()) {
        links->append(common);
        return true;
    }
    for (const QStringList& one : std::as_const(own))
        links->append(common + one);
    return true;
}
