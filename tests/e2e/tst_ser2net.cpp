#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "support/CliRun.h"
#include "support/EnglishTexts.h"
#include "support/HexImages.h"
#include "support/Ser2net.h"
#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// q517-cli on q517-sim through a real serial device server: ser2net on loopback ports,
// bridging the simulator's terminal by RFC 2217 and raw TCP.
class TestSer2net : public QObject {
    Q_OBJECT

    static QString program(const QString& path, int cams, int formats) {
        CamProgram p;
        p.Reconfigure(cams, formats, false);
        for (int f = 1; f <= formats; ++f)
            for (int c = 1; c <= cams; c += 3)
                p.SetPhase(f, c, (f * 7 + c) % 360, (f * 13 + c * 5) % 360);
        p.SetCamName(2, QStringLiteral("PRESS"));
        p.Parameters.SpeedLimit = -1; // FFFF on the line
        return WriteCamFile(p, path, false) ? path : QString();
    }

    // What q517-cli says with text n of a fresh installation's language (Italian): the words
    // before the first argument left open, after which the system adds its own.
    static QString italian(int n, const QString& argument = QString()) {
        QString text = ItalianTexts().Text(n);
        if (!argument.isNull())
            text = text.arg(argument);
        return text.left(text.indexOf(QLatin1Char('%')));
    }

private slots:
    // Each operation gives through the server exactly what it gives on the terminal itself.
    void everyOperationAsOnTheTerminal_data() {
        QTest::addColumn<bool>("raw");
        QTest::newRow("telnet with RFC 2217") << false;
        QTest::newRow("raw TCP") << true;
    }
    void everyOperationAsOnTheTerminal() {
        QFETCH(bool, raw);
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"), 24, 6);
        const QString image = home.filePath("firmware.hex");
        QList<QByteArray> lines{HexImages::Record(0, 4, QByteArray::fromHex("0000"))};
        lines += HexImages::Image(12);
        lines.insert(3, HexImages::Record(0x0600, 0, "4F21A703/15/2010"));
        QVERIFY(HexImages::Write(image, lines));
        const QString stored = home.filePath("STORED.CAM");
        const QString kept = home.filePath("kept.hex");
        const QString link = home.filePath("COM");
        const QStringList simArgs{"--link", link,          "--type", "24-06",      "--store",
                                  stored,   "--flash-out", kept,     "--erase-ms", "200"};
        Ser2net server({{link, raw}}, home.path());
        QVERIFY2(server.started(), qPrintable(server.problem()));

        // First on the terminal itself, then through the server, each on a fresh simulator.
        QStringList outputs[2];
        QByteArray results[2];
        const QString devices[2] = {link, server.address(0)};
        for (int k = 0; k < 2; ++k) {
            const QString received = home.filePath(QStringLiteral("GOT%1.CAM").arg(k));
            QFile::remove(stored);
            QFile::remove(kept);
            SimProcess sim(simArgs);
            QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
            for (const QStringList& args :
                 {QStringList{"identify"}, QStringList{"send", plan},
                  QStringList{"receive", received}, QStringList{"verify", plan},
                  QStringList{"flash", image, "--yes"}}) {
                const CliRun run =
                    CliRun::Run(args + QStringList{"--device", devices[k]}, home.path());
                QVERIFY2(run.status == 0, qPrintable(devices[k] + ": " + args.join(' ') + "\n" +
                                                     run.out + run.err + sim.errorOutput()));
                // A line of one names its target and how long it took: the same words either
                // way once the device and the seconds are set aside.
                QString out = run.out;
                out.replace(devices[k], QStringLiteral("DEVICE"));
                out.replace(QRegularExpression(QStringLiteral("\\d+\\.\\d\\b")), "S");
                out.replace(QRegularExpression(QStringLiteral(" +")), QStringLiteral(" "));
                outputs[k] << out;
                if (args.first() == "send")
                    results[k] += SimProcess::WaitForStored(stored);
            }
            results[k] += SimProcess::ReadFile(received);
            // The loader's image is whole once the simulator has ended.
            QVERIFY(sim.stop());
            results[k] += SimProcess::ReadFile(kept);
        }
        QCOMPARE(outputs[1], outputs[0]);
        QCOMPARE(results[1], results[0]);
        QCOMPARE(results[0], SimProcess::ReadFile(plan) + SimProcess::ReadFile(plan) +
                                 SimProcess::ReadFile(image));
    }

    // ser2net gone in the middle of a transmission: the operation ends at once, with the cause.
    void killedServerEndsTheTransferAtOnce() {
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"), 24, 28);
        const QString link = home.filePath("COM");
        SimProcess sim({"--link", link, "--type", "24-28", "--pace", "--baud", "38400"});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
        Ser2net server({{link, false}}, home.path());
        QVERIFY2(server.started(), qPrintable(server.problem()));
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath("config"));
        cli.setProcessEnvironment(env);
        cli.start(SimProcess::CliBinary(),
                  {"send", plan, "--device", server.address(0), "--baud", "38400"});
        QByteArray err;
        QDeadlineTimer deadline(30000);
        // A few formats have gone when the third progress line is there.
        while (err.count("%\n") < 3 && cli.state() != QProcess::NotRunning &&
               !deadline.hasExpired()) {
            cli.waitForReadyRead(200);
            err += cli.readAllStandardError();
        }
        QVERIFY2(err.count("%\n") >= 3, err.constData());
        QElapsedTimer ended;
        ended.start();
        server.kill();
        QVERIFY(cli.waitForFinished(10000));
        QVERIFY2(ended.elapsed() < 1500, qPrintable(QString::number(ended.elapsed())));
        // The cause stands in the line's summary on standard output.
        err += cli.readAllStandardError() + cli.readAllStandardOutput();
        QCOMPARE(cli.exitCode(), 1);
        QVERIFY2(err.contains(italian(608).toUtf8()), err.constData());
    }

    // A production line of four controllers on four ports of the server, by their COM numbers.
    void productionLineOnNetworkPorts() {
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"), 24, 6);
        QStringList simArgs{"--type", "24-06"};
        QList<Ser2net::Bridge> bridges;
        for (int k = 1; k <= 4; ++k) {
            simArgs << "--link" << home.filePath(QStringLiteral("COM%1").arg(k)) << "--store"
                    << home.filePath(QStringLiteral("GOT%1.CAM").arg(k));
            bridges.append({home.filePath(QStringLiteral("COM%1").arg(k)), k == 4});
        }
        SimProcess sim(simArgs, 10000, 4);
        QVERIFY2(sim.devicePaths().size() == 4, qPrintable(sim.errorOutput()));
        Ser2net server(bridges, home.path());
        QVERIFY2(server.started(), qPrintable(server.problem()));
        {
            QSettings settings(home.filePath("config/q517/q517.ini"), QSettings::IniFormat);
            for (int k = 0; k < 4; ++k)
                settings.setValue(QStringLiteral("network/COM%1").arg(65 + k), server.address(k));
        }
        const CliRun ports = CliRun::Run({"ports"}, home.path());
        for (int k = 0; k < 4; ++k)
            QVERIFY2(ports.out.contains(QStringLiteral("COM %1\t").arg(65 + k) + server.address(k)),
                     qPrintable(ports.out));
        const CliRun send = CliRun::Run({"send", plan, "--ports", "65-68"}, home.path());
        QVERIFY2(send.status == 0, qPrintable(send.out + send.err));
        QVERIFY2(send.out.endsWith("\n4 ok\n"), qPrintable(send.out));
        for (int k = 1; k <= 4; ++k)
            QCOMPARE(SimProcess::WaitForStored(home.filePath(QStringLiteral("GOT%1.CAM").arg(k))),
                     SimProcess::ReadFile(plan));
    }

    // A network address that cannot be right is refused before anything is sent.
    void badAddressesAreRefused_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown scheme") << "ssh://127.0.0.1:22" << italian(621, "ssh");
        QTest::newRow("unresolvable host")
            << "tcp://no-such-host.invalid:4001" << italian(629, "no-such-host.invalid");
    }
    void badAddressesAreRefused() {
        QFETCH(QString, device);
        QFETCH(QString, reason);
        QTemporaryDir home;
        for (const QStringList& args :
             {QStringList{"identify"}, QStringList{"receive", home.filePath("X.CAM")}}) {
            const CliRun run = CliRun::Run(args + QStringList{"--device", device}, home.path());
            QCOMPARE(run.status, 2);
            QVERIFY2(run.err.contains(reason), qPrintable(run.err));
            QVERIFY(!QFile::exists(home.filePath("X.CAM")));
        }
    }
};

QTEST_GUILESS_MAIN(TestSer2net)
#include "tst_ser2net.moc"
