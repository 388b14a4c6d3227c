#include "production/LineReport.h"

#include "model/FileAccess.h"
#include "model/LanguageTexts.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <map>

QString ResultName(TargetStatus::Result result) {
    switch (result) {
    case TargetStatus::Result::Ok:
        return QStringLiteral("ok");
    case TargetStatus::Result::Failed:
        return QStringLiteral("failed");
    case TargetStatus::Result::Different:
        return QStringLiteral("different");
    case TargetStatus::Result::Stopped:
    case TargetStatus::Result::Waiting:
    case TargetStatus::Result::Running:
        break;
    }
    return QStringLiteral("stopped");
}

namespace {

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 1);
}

QString typeText(const TargetStatus& s) {
    return s.type.isEmpty() ? QStringLiteral("-") : s.type;
}

} // namespace

QString SummaryTable(const QList<TargetStatus>& statuses, const LanguageTexts& texts) {
    const QStringList head{texts.Text(520), texts.Text(521), texts.Text(522), texts.Text(523),
                           texts.Text(524)};
    QList<QStringList> rows{head};
    std::map<QString, int> counts;
    for (const TargetStatus& s : statuses) {
        // A device path or a cause may carry control characters: shown, never sent raw.
        rows.append({FileAccess::Printable(s.target.name(), std::numeric_limits<int>::max()),
                     typeText(s), ResultName(s.result), secondsText(s.seconds),
                     FileAccess::Printable(s.cause, std::numeric_limits<int>::max())});
        ++counts[ResultName(s.result)];
    }
    QList<int> widths(head.size(), 0);
    for (const QStringList& row : std::as_const(rows))
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], int(row[c].size()));
    QString text;
    for (const QStringList& row : std::as_const(rows)) {
        QString line;
        for (int c = 0; c < row.size(); ++c) {
            // Seconds line up on the right, the rest on the left; the cause runs on.
            const QString cell = c == 3                     ? row[c].rightJustified(widths[c])
                                 : c + 1 == int(row.size()) ? row[c]
                                                            : row[c].leftJustified(widths[c]);
            line += (c ? QStringLiteral("  ") : QString()) + cell;
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        text += line + QLatin1Char('\n');
    }
    QStringList tally;
    for (const char* name : {"ok", "different", "failed", "stopped"}) {
        const auto it = counts.find(QLatin1String(name));
        if (it != counts.end())
            tally.append(QString::number(it->second) + QLatin1Char(' ') + it->first);
    }
    return text + tally.join(QStringLiteral(", ")) + QLatin1Char('\n');
}

QByteArray ReportJson(const LineReportHeader& header, const QList<TargetStatus>& statuses) {
    QJsonObject root;
    root.insert(QStringLiteral("command"), header.command);
    root.insert(QStringLiteral("file"), header.file);
    root.insert(QStringLiteral("started"), header.started.toUTC().toString(Qt::ISODate));
    root.insert(QStringLiteral("seconds"), std::round(header.seconds * 10) / 10);
    std::map<QString, int> counts{{QStringLiteral("ok"), 0},
                                  {QStringLiteral("different"), 0},
                                  {QStringLiteral("failed"), 0},
                                  {QStringLiteral("stopped"), 0}};
    QJsonArray targets;
    for (const TargetStatus& s : statuses) {
        QJsonObject target;
        target.insert(QStringLiteral("target"), s.target.name());
        if (s.target.port > 0)
            target.insert(QStringLiteral("port"), s.target.port);
        else
            target.insert(QStringLiteral("device"), s.target.device);
        target.insert(QStringLiteral("type"), s.type.isEmpty() ? QJsonValue() : QJsonValue(s.type));
        target.insert(QStringLiteral("result"), ResultName(s.result));
        target.insert(QStringLiteral("seconds"), std::round(s.seconds * 10) / 10);
        target.insert(QStringLiteral("cause"), s.cause);
        targets.append(target);
        ++counts[ResultName(s.result)];
    }
    for (const auto& [name, count] : counts)
        root.insert(name, count);
    root.insert(QStringLiteral("targets"), targets);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool WriteLineReport(const QString& path, const QByteArray& json, QString* why) {
    return FileAccess::WriteAtomically(path, json, why);
}

QString ReportPathProblem(const QString& path, const QString& inputFile,
                          const LanguageTexts& texts) {
    const QString at = path + QStringLiteral(": ");
    const QFileInfo report(path);
    if (report.exists()) {
        if (report.isDir())
            return at + texts.Text(555);
        if (!report.isFile())
            return at + texts.Text(556);
        if (!inputFile.isEmpty() &&
            report.canonicalFilePath() == QFileInfo(inputFile).canonicalFilePath())
            return at + texts.Text(557);
    }
    const QFileInfo folder(report.absolutePath());
    if (!folder.isDir())
        return at + texts.Text(558).arg(folder.filePath());
    if (!folder.isWritable())
        return at + texts.Text(559).arg(folder.filePath());
    return QString();
}

int LineExitStatus(const QList<TargetStatus>& statuses, bool verifying) {
    int status = 0;
    for (const TargetStatus& s : statuses) {
        if (s.result == TargetStatus::Result::Ok)
            continue;
        if (verifying && s.result != TargetStatus::Result::Different)
            return 2;
        status = 1;
    }
    return status;
}
