#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "support/CliRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCliTiming : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        // The operator's script is the English one, so the refusals read as below.
        QVERIFY(QDir().mkpath(home_.filePath(QStringLiteral("q517"))));
        QFile options(home_.filePath(QStringLiteral("q517/Q517_opt.def")));
        QVERIFY(options.open(QIODevice::WriteOnly));
        options.write("\"q517_EN.SCR\",1,\"9600\"\r\n");
        options.close();
        // Cam 5, PRESS, with 10 ms of its own advance, on from 10 to 70 in format 1.
        CamProgram program;
        program.Parameters.AdvanceCount = 24;
        program.Parameters.CamAdvance[4] = 10;
        program.SetCamName(5, QStringLiteral("PRESS"));
        program.SetPhase(1, 5, 10, 70);
        QVERIFY(WriteCamFile(program, camFile(), false));
        QFile damaged(home_.filePath(QStringLiteral("DAMAGED.CAM")));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("FUNZIONI 24-06\r\nNUMERO ANTICIPI  0 \r\nGARBAGE\r\n");
    }

    void timing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err"); // a part of standard error
        const QString lines = "C05 \"PRESS\" ADVANCE 10 ms SHIFT 36.0\n"
                              "C05 ON 010 OFF 070  at speed 334.0 034.0  16.7 ms  SHORT\n"
                              "C05 GAP 070 010  83.3 ms\n";
        QTest::newRow("lines, one phase short")
            << QStringList{"--rpm", "600", "--min-ms", "20"} << 1 << lines + "MAX RPM 500\n"
            << "";
        QTest::newRow("json") << QStringList{"--json", "--min-ms", "20", "--rpm", "600"} << 1
                              << "{\"rpm\":600,\"format\":1,\"min_ms\":20,\"max_rpm\":500,\"cams\":"
                                 "[{\"cam\":5,\"name\":\"PRESS\",\"advance_ms\":10,\"shift_deg\":"
                                 "36.0,\"phases\":[{\"on\":10,\"off\":70,\"on_at_speed\":334.0,"
                                 "\"off_at_speed\":34.0,\"ms\":16.7,\"short\":true}],\"gaps\":[{"
                                 "\"from\":70,\"to\":10,\"ms\":83.3,\"short\":false}]}]}\n"
                              << "";
        QTest::newRow("no minimum: nothing short")
            << QStringList{"--rpm", "600"} << 0
            << lines.left(lines.indexOf("  SHORT")) + "\nC05 GAP 070 010  83.3 ms\nMAX RPM none\n"
            << "";
        QTest::newRow("an empty format, json")
            << QStringList{"--rpm", "1", "--format", "6", "--min-ms", "2.5", "--json"} << 0
            << "{\"rpm\":1,\"format\":6,\"min_ms\":2.5,\"max_rpm\":null,\"cams\":[]}\n"
            << "";
        QTest::newRow("rpm 0") << QStringList{"--rpm", "0"} << 2 << ""
                               << "--rpm 0: Speed: a whole number from 1 to 20000 rpm";
        QTest::newRow("rpm above the range") << QStringList{"--rpm", "20001"} << 2 << ""
                                             << "20001";
        QTest::newRow("rpm not whole") << QStringList{"--rpm", "600.5"} << 2 << ""
                                       << "600.5";
        QTest::newRow("no rpm") << QStringList{"--min-ms", "5"} << 2 << ""
                                << "--rpm N";
        QTest::newRow("minimum refused") << QStringList{"--rpm", "600", "--min-ms", "-1"} << 2 << ""
                                         << "Minimum time: from 0 to 60000 ms";
        QTest::newRow("format out of range")
            << QStringList{"--rpm", "600", "--format", "7"} << 2 << ""
            << "--format 7: Format outside 1..6";
        QTest::newRow("format not a number")
            << QStringList{"--rpm", "600", "--format", "one"} << 2 << ""
            << "1..6";
    }
    void timing() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const CliRun run = CliRun::Run(QStringList{"timing", camFile()} + args, home_.path());
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, out);
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
    }

    void refusedFiles() {
        for (const QString& name : {QStringLiteral("MISSING.CAM"), QStringLiteral("DAMAGED.CAM")}) {
            const CliRun run =
                CliRun::Run({"timing", home_.filePath(name), "--rpm", "600"}, home_.path());
            QCOMPARE(run.status, 2);
            QVERIFY(run.out.isEmpty());
            QVERIFY2(run.err.contains(name), qPrintable(run.err));
        }
    }

private:
    QString camFile() const { return home_.filePath(QStringLiteral("PRESS.CAM")); }

    QTemporaryDir home_;
};

QTEST_GUILESS_MAIN(TestCliTiming)
#include "tst_clitiming.moc"
