#include "production/LineTargets.h"
#include "support/EnglishTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLineTargets : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("targets"); // the names, or empty when refused
        QTest::addColumn<QString>("problem");     // a part of the refusal
        const auto row = [](const char* name, const QString& args) {
            return &(QTest::newRow(name) << args.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        };
        *row("one port", "F.CAM --port 3") << QStringList{"COM 3"} << QString();
        *row("ports and a device, in order", "--device /tmp/a F.CAM --ports 3-5,12 --port 7")
            << QStringList{"/tmp/a", "COM 3", "COM 4", "COM 5", "COM 12", "COM 7"} << QString();
        *row("single port as a list", "--ports 64") << QStringList{"COM 64"} << QString();
        *row("repeated device", "--device /tmp/a --device /tmp/b")
            << QStringList{"/tmp/a", "/tmp/b"} << QString();
        *row("nothing named", "F.CAM --baud 9600") << QStringList() << "give --port";
        *row("port twice", "--port 3 --ports 2-4") << QStringList() << "COM 3 is named twice";
        *row("device twice", "--device /a --device /a") << QStringList() << "/a is named twice";
        *row("range backwards", "--ports 8-3") << QStringList() << "runs backwards";
        *row("port 0", "--ports 0-2") << QStringList() << "not a port 1 to 96";
        *row("network ports", "--ports 65-67,96")
            << QStringList{"COM 65", "COM 66", "COM 67", "COM 96"} << QString();
        *row("port 97", "--port 97") << QStringList() << "1 to 96";
        *row("network device", "--device rfc2217://127.0.0.1:4001 --device tcp://[::1]:7")
            << QStringList{"rfc2217://127.0.0.1:4001", "tcp://[::1]:7"} << QString();
        *row("host that does not resolve", "--device tcp://no-such-host.invalid:4001")
            << QStringList() << "does not resolve";
        *row("empty item", "--ports 3,,4") << QStringList() << "not a port";
        *row("three ends", "--ports 3-4-5") << QStringList() << "not a port";
        *row("letters", "--ports a") << QStringList() << "not a port";
        *row("missing value", "--port 3 --device") << QStringList() << "--device needs a value";
        *row("baud twice", "--port 3 --baud 9600 --baud 38400") << QStringList() << "once";
        *row("baud zero", "--port 3 --baud 0") << QStringList() << "positive";
        *row("report twice", "--port 3 --report a --report b") << QStringList() << "once";
    }
    void parse() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, targets);
        QFETCH(QString, problem);
        LineArgs line;
        QString why;
        const bool ok = ParseLineArgs(args, true, EnglishTexts(), &line, &why);
        QCOMPARE(ok, problem.isEmpty());
        if (!ok) {
            QVERIFY2(why.contains(problem), qPrintable(why));
            return;
        }
        QStringList names;
        for (const LineTarget& t : std::as_const(line.targets))
            names.append(t.name());
        QCOMPARE(names, targets);
    }

    void optionsLeaveTheRest() {
        LineArgs line;
        QString why;
        QVERIFY(ParseLineArgs(
            {"IMG.hex", "--port", "2", "--yes", "--baud", "38400", "--report", "r.json", "--extra"},
            true, EnglishTexts(), &line, &why));
        QCOMPARE(line.rest, (QStringList{"IMG.hex", "--extra"}));
        QVERIFY(line.yes);
        QCOMPARE(line.baud, QStringLiteral("38400"));
        QCOMPARE(line.report, QStringLiteral("r.json"));
        // A command without a report leaves the option for itself to refuse.
        QVERIFY(ParseLineArgs({"--port", "2", "--report", "r.json"}, false, EnglishTexts(), &line,
                              &why));
        QCOMPARE(line.rest, (QStringList{"--report", "r.json"}));
    }

    void twoNamesForOneDeviceAreFound() {
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("ports")));
        const QString tty = work.filePath(QStringLiteral("tty"));
        QFile(tty).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(tty, work.filePath(QStringLiteral("ports/COM3"))));
        QVERIFY(QFile::link(tty, work.filePath(QStringLiteral("other"))));
        const LineTarget com3{3, QString()};
        const LineTarget direct{0, tty};
        const LineTarget viaLink{0, work.filePath(QStringLiteral("other"))};
        const LineTarget missing{0, work.filePath(QStringLiteral("gone"))};
        const LineTarget com4{4, QString()};
        QVERIFY(SharedDevice({com3, direct}, work.path(), EnglishTexts())
                    .startsWith("COM 3 and " + tty));
        QVERIFY(!SharedDevice({direct, viaLink}, work.path(), EnglishTexts()).isEmpty());
        QCOMPARE(SharedDevice({com3, missing, com4}, work.path(), EnglishTexts()), QString());
    }
};

QTEST_GUILESS_MAIN(TestLineTargets)
#include "tst_linetargets.moc"
