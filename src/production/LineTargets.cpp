#include "production/LineTargets.h"

#include "link/NetworkAddress.h"
#include "link/PortMap.h"
#include "model/LanguageTexts.h"

#include <QFileInfo>

QString LineTarget::name() const {
    return port > 0 ? QStringLiteral("COM ") + QString::number(port) : device;
}

QString LineTarget::devicePath(const QString& workDir, const PortMap::NetworkPorts& network) const {
    return port > 0 ? PortMap::PortDevice(port, workDir, network) : device;
}

bool ParsePortList(const QString& text, const LanguageTexts& texts, QList<int>* ports,
                   QString* problem) {
    const auto bad = [&](const QString& why) {
        *problem = QStringLiteral("--ports ") + text + QStringLiteral(": ") + why;
        return false;
    };
    const auto portNumber = [](const QString& t, int* n) {
        bool ok = false;
        *n = t.trimmed().toInt(&ok);
        return ok && *n >= PortMap::FirstPort && *n <= PortMap::LastPort;
    };
    ports->clear();
    if (text.trimmed().isEmpty())
        return bad(texts.Text(543));
    for (const QString& item : text.split(QLatin1Char(','))) {
        const QStringList ends = item.split(QLatin1Char('-'));
        int first = 0, last = 0;
        if (ends.size() > 2 || !portNumber(ends.first(), &first) || !portNumber(ends.last(), &last))
            return bad(texts.Text(544).arg(item));
        if (last < first)
            return bad(texts.Text(545).arg(item));
        for (int n = first; n <= last; ++n)
            ports->append(n);
    }
    return true;
}

bool ParseLineArgs(const QStringList& args, bool withReport, const LanguageTexts& texts,
                   LineArgs* out, QString* problem) {
    LineArgs parsed;
    bool baudGiven = false;
    const auto addTarget = [&](const LineTarget& target) {
        if (parsed.targets.contains(target)) {
            *problem = texts.Text(546).arg(target.name());
            return false;
        }
        parsed.targets.append(target);
        return true;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool report = withReport && a == QLatin1String("--report");
        const bool takesValue = a == QLatin1String("--port") || a == QLatin1String("--ports") ||
                                a == QLatin1String("--device") || a == QLatin1String("--baud") ||
                                report;
        if (takesValue && i + 1 >= args.size()) {
            *problem = texts.Text(547).arg(a);
            return false;
        }
        if (a == QLatin1String("--port")) {
            bool ok = false;
            const int n = args.at(++i).toInt(&ok);
            if (!ok || n < PortMap::FirstPort || n > PortMap::LastPort) {
                *problem = texts.Text(548);
                return false;
            }
            if (!addTarget(LineTarget{n, QString()}))
                return false;
        } else if (a == QLatin1String("--ports")) {
            QList<int> ports;
            if (!ParsePortList(args.at(++i), texts, &ports, problem))
                return false;
            for (const int n : std::as_const(ports))
                if (!addTarget(LineTarget{n, QString()}))
                    return false;
        } else if (a == QLatin1String("--device")) {
            const QString device = args.at(++i);
            if (device.isEmpty()) {
                *problem = texts.Text(549);
                return false;
            }
            // A network address is refused here, before any line is touched.
            if (NetworkAddress::IsNetwork(device) &&
                !NetworkAddress::Check(device, texts, problem)) {
                *problem = QStringLiteral("--device ") + *problem;
                return false;
            }
            if (!addTarget(LineTarget{0, device}))
                return false;
        } else if (a == QLatin1String("--baud")) {
            bool ok = false;
            parsed.baud = args.at(++i);
            if (baudGiven || parsed.baud.toInt(&ok) <= 0 || !ok) {
                *problem = baudGiven ? texts.Text(550) : texts.Text(551);
                return false;
            }
            baudGiven = true;
        } else if (report) {
            if (!parsed.report.isEmpty()) {
                *problem = texts.Text(552);
                return false;
            }
            parsed.report = args.at(++i);
        } else if (a == QLatin1String("--yes")) {
            parsed.yes = true;
        } else {
            parsed.rest.append(a);
        }
    }
    if (parsed.targets.isEmpty()) {
        *problem = texts.Text(553);
        return false;
    }
    *out = parsed;
    return true;
}

QString SharedDevice(const QList<LineTarget>& targets, const QString& workDir,
                     const LanguageTexts& texts, const PortMap::NetworkPorts& network) {
    QList<QString> reached;
    for (qsizetype k = 0; k < targets.size(); ++k) {
        const QString path = targets[k].devicePath(workDir, network);
        const QFileInfo device(path);
        // A device that is not there cannot be shared; its target fails on its own. A network
        // port is one server's port: the same address twice is one line.
        if (NetworkAddress::IsNetwork(path))
            reached.append(path.toLower());
        else
            reached.append(device.exists() ? device.canonicalFilePath() : QString());
        for (qsizetype j = 0; j < k; ++j) {
            if (!reached[k].isEmpty() && reached[j] == reached[k])
                return texts.Text(554).arg(targets[j].name(), targets[k].name(), reached[k]);
        }
    }
    return QString();
}
