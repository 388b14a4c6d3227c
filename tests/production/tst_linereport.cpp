#include "production/LineProgress.h"
#include "production/LineReport.h"
#include "support/EnglishTexts.h"
#include "support/FileSizeLimit.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

using Result = TargetStatus::Result;

TargetStatus status(const LineTarget& target, const QString& type, Result result,
                    double seconds = 0, const QString& cause = QString()) {
    TargetStatus s;
    s.target = target;
    s.type = type;
    s.result = result;
    s.seconds = seconds;
    s.cause = cause;
    return s;
}

// Four controllers: two good, one silent, one of another type, as a line ends.
QList<TargetStatus> endedLine() {
    return {status({3, {}}, "C24-28", Result::Ok, 16.24),
            status({12, {}}, {}, Result::Failed, 3.05, "COMM ERROR"),
            status({0, "/dev/ttyUSB0"}, "C8-21", Result::Failed, 0.4,
                   "C8-21 the controller holds programs of another type"),
            status({4, {}}, "C24-28", Result::Stopped, 7.0, "stopped")};
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestLineReport : public QObject {
    Q_OBJECT

private slots:
    void summaryTable() {
        const QString expected =
            "target        type    result   seconds  cause\n"
            "COM 3         C24-28  ok          16.2\n"
            "COM 12        -       failed       3.0  COMM ERROR\n"
            "/dev/ttyUSB0  C8-21   failed       0.4  C8-21 the controller holds programs of "
            "another type\n"
            "COM 4         C24-28  stopped      7.0  stopped\n"
            "1 ok, 2 failed, 1 stopped\n";
        QCOMPARE(SummaryTable(endedLine(), EnglishTexts()), expected);
    }

    void jsonReportAndExitStatus() {
        const LineReportHeader header{
            "send", "PLAN.CAM", QDateTime(QDate(2026, 12, 8), QTime(6, 1, 2), Qt::UTC), 16.44};
        const QJsonObject root = QJsonDocument::fromJson(ReportJson(header, endedLine())).object();
        QCOMPARE(root.value("command").toString(), QStringLiteral("send"));
        QCOMPARE(root.value("file").toString(), QStringLiteral("PLAN.CAM"));
        QCOMPARE(root.value("started").toString(), QStringLiteral("2026-12-08T06:01:02Z"));
        QCOMPARE(root.value("seconds").toDouble(), 16.4);
        QCOMPARE(root.value("ok").toInt(), 1);
        QCOMPARE(root.value("failed").toInt(), 2);
        QCOMPARE(root.value("stopped").toInt(), 1);
        QCOMPARE(root.value("different").toInt(), 0);
        const QJsonArray targets = root.value("targets").toArray();
        QCOMPARE(targets.size(), 4);
        const QJsonObject com12 = targets.at(1).toObject();
        QCOMPARE(com12.value("target").toString(), QStringLiteral("COM 12"));
        QCOMPARE(com12.value("port").toInt(), 12);
        QVERIFY(com12.value("type").isNull());
        QCOMPARE(com12.value("result").toString(), QStringLiteral("failed"));
        QCOMPARE(com12.value("cause").toString(), QStringLiteral("COMM ERROR"));
        QCOMPARE(targets.at(2).toObject().value("device").toString(),
                 QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(targets.at(0).toObject().value("seconds").toDouble(), 16.2);

        QCOMPARE(LineExitStatus(endedLine()), 1);
        QCOMPARE(LineExitStatus({endedLine().first(), endedLine().first()}), 0);
        QCOMPARE(LineExitStatus({status({5, {}}, "C24-28", Result::Different)}), 1);
        // Verifying: a difference is 1 only when no other controller had trouble.
        const TargetStatus same = endedLine().first();
        const TargetStatus differs = status({5, {}}, "C24-28", Result::Different);
        const TargetStatus failed = status({6, {}}, "C24-28", Result::Failed);
        QCOMPARE(LineExitStatus({same, same}, true), 0);
        QCOMPARE(LineExitStatus({same, differs}, true), 1);
        QCOMPARE(LineExitStatus({differs, failed}, true), 2);
        QCOMPARE(LineExitStatus({same, status({7, {}}, "", Result::Stopped)}, true), 2);
    }

    void reportIsWrittenWholeOrNotAtAll() {
        QTemporaryDir dir;
        const QString path = dir.filePath("line.json");
        QString why;
        QVERIFY(WriteLineReport(path, "{\"ok\": 1}\n", &why));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("{\"ok\": 1}\n"));
        QVERIFY(!WriteLineReport(dir.filePath("no/such/folder/line.json"), "{}", &why));
        QVERIFY(!why.isEmpty());
    }

    // Where a report may go, asked before any controller is touched: never over the line's
    // own cam file, never a directory or a folder that is not there.
    void reportPlaces_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("problem"); // what follows the path; "" = it may be written
        QTest::newRow("new file") << "line.json"
                                  << "";
        QTest::newRow("earlier report") << "old.json"
                                        << "";
        QTest::newRow("the cam file") << "PLAN.CAM"
                                      << ": the report would replace the input file";
        QTest::newRow("the cam file through a link") << "LINK.CAM"
                                                     << ": the report would replace the input file";
        QTest::newRow("a directory") << "sub"
                                     << ": a directory";
        QTest::newRow("a missing folder") << "none/line.json"
                                          << ": no folder ";
    }
    void reportPlaces() {
        QFETCH(QString, place);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString plan = dir.filePath("PLAN.CAM");
        QVERIFY(writeFile(plan, "FUNZIONI 24-06\r\n"));
        QVERIFY(writeFile(dir.filePath("old.json"), "{}"));
        QVERIFY(QDir(dir.path()).mkdir("sub"));
        QVERIFY(QFile::link(plan, dir.filePath("LINK.CAM")));
        const QString path = dir.filePath(place);
        const QString said = ReportPathProblem(path, plan, EnglishTexts());
        QVERIFY2(problem.isEmpty() ? said.isEmpty() : said.startsWith(path + problem),
                 qPrintable(said));
        QString why;
        if (problem.isEmpty()) {
            QVERIFY2(WriteLineReport(path, "{\"ok\": 1}\n", &why), qPrintable(why));
            QCOMPARE(contents(path), QByteArray("{\"ok\": 1}\n"));
        }
        QCOMPARE(contents(plan), QByteArray("FUNZIONI 24-06\r\n"));
    }

    // A disk that is full refuses the report with the system's cause; the earlier report
    // stays whole and nothing is left beside it.
    void fullDiskKeepsTheEarlierReport() {
        SmallDisk disk;
        QTemporaryDir fallback;
        const QString path =
            disk.mounted() ? disk.filePath("line.json") : fallback.filePath("line.json");
        QVERIFY(writeFile(path, "{\"old\": 1}\n"));
        disk.fill();
        QString why;
        bool written = false;
        {
            std::optional<FileSizeLimit> limit;
            if (!disk.mounted())
                limit.emplace(64);
            written = WriteLineReport(path, QByteArray(100000, ' '), &why);
        }
        QVERIFY(!written);
        QCOMPARE(why, disk.mounted() ? QStringLiteral("No space left on device")
                                     : QStringLiteral("File too large"));
        QCOMPARE(contents(path), QByteArray("{\"old\": 1}\n"));
        if (disk.mounted())
            QCOMPARE(disk.files(), (QStringList{"filler", "line.json"}));
    }

    void terminalLinesAreRewrittenInPlace() {
        TargetStatus a = status({3, {}}, {}, Result::Running);
        a.stage = "identify";
        TargetStatus b = status({0, "/tmp/COM12"}, {}, Result::Waiting);
        LineProgress progress(EnglishTexts(), true, 40);
        QCOMPARE(progress.update({a, b}), QByteArray("\r\x1b[2KCOM 3       -       identify\n"
                                                     "\r\x1b[2K/tmp/COM12  -       waiting\n"));
        a.type = "C24-28";
        a.stage = "format 12/28 with a stage too long for the line";
        a.percent = 43;
        b = status(b.target, {}, Result::Failed, 3.04, "COMM ERROR");
        // Back up two lines, then each line again, cut short of the last column.
        QCOMPARE(progress.update({a, b}),
                 QByteArray("\x1b[2A\r\x1b[2KCOM 3       C24-28  format 12/28 with a\n"
                            "\r\x1b[2K/tmp/COM12  -       failed 3.0 s: COMM \n"));
    }

    void plainLinesAreAppendedWhenTheyChange() {
        TargetStatus a = status({3, {}}, "C24-28", Result::Running);
        a.stage = "format 1/28";
        a.percent = 4;
        TargetStatus b = status({4, {}}, {}, Result::Running);
        b.stage = "identify";
        LineProgress progress(EnglishTexts(), false);
        QCOMPARE(progress.update({a, b}),
                 QByteArray("COM 3  C24-28  format 1/28  4%\nCOM 4  -       identify\n"));
        QCOMPARE(progress.update({a, b}), QByteArray());
        a = status(a.target, a.type, Result::Ok, 16.0);
        QCOMPARE(progress.update({a, b}), QByteArray("COM 3  C24-28  ok 16.0 s\n"));
    }
};

QTEST_GUILESS_MAIN(TestLineReport)
#include "tst_linereport.moc"
