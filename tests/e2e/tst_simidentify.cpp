#include "support/CliRun.h"
#include "support/SimProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

// q517-cli and q517-sim on a real pseudo-terminal, through the serial port library.
class TestSimIdentify : public QObject {
    Q_OBJECT

    static CliRun runCli(const QStringList& args, const QString& home) {
        return CliRun::Run(args, home, 30000);
    }

private slots:
    void identifiesEveryType_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("designation");
        QTest::addColumn<QString>("counts"); // characters 1-5 of the "?M" reply
        QTest::newRow("8/21") << "08-21"
                              << "C8-21"
                              << "08 21";
        QTest::newRow("8/89") << "08-89"
                              << "C8-89"
                              << "08 89";
        QTest::newRow("16/10") << "16-10"
                               << "C16-10"
                               << "16 10";
        QTest::newRow("16/44") << "16-44"
                               << "C16-44"
                               << "16 44";
        QTest::newRow("24/6") << "24-06"
                              << "C24-6"
                              << "24 06";
        QTest::newRow("24/28") << "24-28"
                               << "C24-28"
                               << "24 28";
    }
    void identifiesEveryType() {
        QFETCH(QString, type);
        QFETCH(QString, designation);
        QFETCH(QString, counts);
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--type"), type,
                        QStringLiteral("--cpu"), QStringLiteral("AVR_M1280")});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());
        const CliRun run =
            runCli({QStringLiteral("identify"), QStringLiteral("--device"), link}, home.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("?M: ") + counts));
        QCOMPARE(lines[0].indexOf(QStringLiteral("ITALY")) - 4 + 1, 22);
        QVERIFY(lines[1].startsWith(QStringLiteral("?T: AVR_M1280-")));
        QCOMPARE(lines[2], QStringLiteral("type: ") + designation);
        QVERIFY(sim.stop());
        // The simulator takes its link away when it ends.
        QVERIFY(!QFileInfo(link).isSymLink());
    }

    void portsListsTheSimulatorsPort() {
        QTemporaryDir home;
        // The programmer's data directory follows XDG_DATA_HOME: the simulator links its
        // port inside the test's own one.
        SimProcess ours({QStringLiteral("--port"), QStringLiteral("17"),
                         QStringLiteral("--workdir"), home.filePath(QStringLiteral("q517"))});
        QVERIFY(ours.started());
        const CliRun ports = runCli({QStringLiteral("ports")}, home.path());
        QCOMPARE(ports.status, 0);
        QVERIFY2(ports.out.contains(QStringLiteral("COM 17\t") +
                                    home.filePath(QStringLiteral("q517/ports/COM17"))),
                 qPrintable(ports.out));
        const CliRun identify =
            runCli({QStringLiteral("identify"), QStringLiteral("--port"), QStringLiteral("17")},
                   home.path());
        QVERIFY2(identify.status == 0, qPrintable(identify.err));
        QVERIFY(identify.out.contains(QStringLiteral("type: C24-28")));
    }

    void failures_data() {
        QTest::addColumn<QStringList>("simArgs"); // empty: no simulator, a missing device
        QTest::addColumn<QString>("stderrText");
        QTest::newRow("silent controller")
            << QStringList{QStringLiteral("--fault"), QStringLiteral("silent")} << "COMM ERROR";
        QTest::newRow("reply without ITALY")
            << QStringList{QStringLiteral("--fault"), QStringLiteral("bad-reply")}
            << "non contengono l'identificazione";
        QTest::newRow("missing device")
            << QStringList() << "COM, apertura: dispositivo inesistente";
    }
    void failures() {
        QFETCH(QStringList, simArgs);
        QFETCH(QString, stderrText);
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        std::unique_ptr<SimProcess> sim;
        if (!simArgs.isEmpty()) {
            sim =
                std::make_unique<SimProcess>(simArgs + QStringList{QStringLiteral("--link"), link});
            QVERIFY(sim->started());
        }
        const CliRun run =
            runCli({QStringLiteral("identify"), QStringLiteral("--device"), link}, home.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(stderrText), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void slowRepliesAreCollected() {
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--fault"),
                        QStringLiteral("slow"), QStringLiteral("--type"), QStringLiteral("16-10")});
        QVERIFY(sim.started());
        const CliRun run =
            runCli({QStringLiteral("identify"), QStringLiteral("--device"), link}, home.path());
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("type: C16-10")));
    }

    void simulatorRefusesUnknownSettings_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("type") << QStringList{QStringLiteral("--type"), QStringLiteral("24-10")};
        QTest::newRow("fault") << QStringList{QStringLiteral("--fault"), QStringLiteral("melt")};
        QTest::newRow("port") << QStringList{QStringLiteral("--port"), QStringLiteral("65")};
        QTest::newRow("link into no folder")
            << QStringList{QStringLiteral("--link"), QStringLiteral("/nonexistent-q517/COM")};
    }
    void simulatorRefusesUnknownSettings() {
        QFETCH(QStringList, args);
        QProcess sim;
        sim.start(SimProcess::SimBinary(), args);
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardOutput().isEmpty());
        QVERIFY(!QFileInfo::exists(QStringLiteral("/nonexistent-q517")));
        // The refusal of a fault lists the known ones, each once.
        const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
        const QString known = err.section(QStringLiteral("(known: "), 1).section(')', 0, 0);
        QStringList names = known.split(QStringLiteral(", "));
        names.removeDuplicates();
        QCOMPARE(names.join(QStringLiteral(", ")), known);
    }
};

QTEST_GUILESS_MAIN(TestSimIdentify)
#include "tst_simidentify.moc"
