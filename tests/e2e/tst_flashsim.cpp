#include "support/HexImages.h"
#include "support/SimProcess.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// q517-cli flash against q517-sim's loader on a real pseudo-terminal.
class TestFlashSim : public QObject {
    Q_OBJECT

    struct CliRun {
        int status = -1;
        QString err;
    };
    static CliRun runFlash(const QString& image, const QString& device, const QString& home) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home);
        cli.setProcessEnvironment(env);
        cli.start(SimProcess::CliBinary(),
                  {QStringLiteral("flash"), image, QStringLiteral("--device"), device,
                   QStringLiteral("--yes")});
        CliRun run;
        if (!cli.waitForFinished(60000)) {
            cli.kill();
            cli.waitForFinished(5000);
            return run;
        }
        run.status = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        run.err = QString::fromLocal8Bit(cli.readAllStandardError());
        return run;
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void imageArrivesWhole_data();
    void imageArrivesWhole();
    void silentLoaderEndsTheUpdate();
    void badImageSendsNothing();
};

void TestFlashSim::imageArrivesWhole_data() {
    QTest::addColumn<QStringList>("simArgs");
    QTest::newRow("9600 baud loader") << QStringList{};
    QTest::newRow("fast loader after ENQ") << QStringList{"--cpu", "AVR_M1280"};
    QTest::newRow("first record refused once") << QStringList{"--fault", "nak-first"};
}

void TestFlashSim::imageArrivesWhole() {
    QFETCH(QStringList, simArgs);
    QTemporaryDir home;
    const QString image = home.filePath(QStringLiteral("firmware.hex"));
    QList<QByteArray> lines{HexImages::Record(0, 4, QByteArray::fromHex("0000"))};
    lines += HexImages::Image(60);
    lines.insert(3, HexImages::Record(0x0600, 0, "4F21A703/15/2010"));
    QVERIFY(HexImages::Write(image, lines));
    const QString kept = home.filePath(QStringLiteral("kept.hex"));
    const QString link = home.filePath(QStringLiteral("COM"));
    SimProcess sim(QStringList{"--link", link, "--erase-ms", "700", "--flash-out", kept} + simArgs);
    QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));

    const CliRun run = runFlash(image, link, home.path());
    QVERIFY2(run.status == 0, qPrintable(run.err + sim.errorOutput()));
    QVERIFY(run.err.contains(QStringLiteral("CHIP ERASED")));
    QVERIFY(run.err.contains(QStringLiteral(" CRC Prog:  4F21A7  Date Prog: MAR 15 2010")));
    QVERIFY(run.err.contains(QStringLiteral("DEVICE UPDATED WITH  ") + image));
    QVERIFY(run.err.contains(QStringLiteral("100%")));
    // The steps and the counters in Italian, the language without an options file.
    QVERIFY(run.err.contains(QString::fromUtf8("\ncancellazione della flash del controllore\n")));
    QVERIFY2(run.err.contains(QRegularExpression(
                 QStringLiteral("\n  riga \\d+ byte \\d+ ind \\S+ Tempo:\\S+ \\d+%\n"))),
             qPrintable(run.err));
    // What the loader took is the file, line for line. It is written after the last ACK, so
    // only once the simulator has ended is it surely whole.
    QVERIFY(sim.stop());
    QCOMPARE(readFile(kept), readFile(image));
}

void TestFlashSim::silentLoaderEndsTheUpdate() {
    QTemporaryDir home;
    const QString image = home.filePath(QStringLiteral("firmware.hex"));
    QVERIFY(HexImages::Write(image, HexImages::Image(10)));
    const QString link = home.filePath(QStringLiteral("COM"));
    SimProcess sim({"--link", link, "--erase-ms", "0", "--fault", "silent-after=3"});
    QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
    const CliRun run = runFlash(image, link, home.path());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("TIMEOUT SERIAL PORT")), qPrintable(run.err));
    QVERIFY(!run.err.contains(QStringLiteral("DEVICE UPDATED")));
    QVERIFY(sim.stop());
}

void TestFlashSim::badImageSendsNothing() {
    QTemporaryDir home;
    const QString image = home.filePath(QStringLiteral("firmware.hex"));
    QVERIFY(HexImages::Write(image, {":00000001FF", ":0300300002337A1e"}));
    const QString kept = home.filePath(QStringLiteral("kept.hex"));
    const QString link = home.filePath(QStringLiteral("COM"));
    SimProcess sim({"--link", link, "--flash-out", kept});
    QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
    const CliRun run = runFlash(image, link, home.path());
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(QStringLiteral("PARITY ERROR IN LINE 2")), qPrintable(run.err));
    QVERIFY(!QFile::exists(kept));
    QVERIFY(sim.stop());
    QVERIFY(!sim.errorOutput().contains(QStringLiteral("flash update")));
}

QTEST_GUILESS_MAIN(TestFlashSim)
#include "tst_flashsim.moc"
