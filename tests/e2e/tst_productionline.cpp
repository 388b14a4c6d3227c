#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "support/HexImages.h"
#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

// q517-cli on several controllers at once, all served by one q517-sim.
class TestProductionLine : public QObject {
    Q_OBJECT

    static void startCli(QProcess& cli, const QStringList& args, const QString& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home);
        cli.setProcessEnvironment(env);
        cli.start(SimProcess::CliBinary(), args);
    }
    static int finish(QProcess& cli) {
        if (!cli.waitForFinished(60000)) {
            cli.kill();
            cli.waitForFinished(5000);
            return -1;
        }
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    static QString program(const QString& path) {
        CamProgram p;
        p.Reconfigure(24, 6, false);
        p.SetPhase(1, 1, 30, 90);
        p.SetPhase(6, 24, 350, 20);
        p.SetCamName(2, QStringLiteral("PRESS"));
        return WriteCamFile(p, path, false) ? path : QString();
    }

private slots:
    // Three good controllers on ports 3-5 of the port map and a silent one on a link: each
    // ends on its own, the summary and the report say which.
    void sendToSeveralControllers() {
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"));
        const QString work = QDir(home.path()).filePath("q517");
        const QString silent = home.filePath("SILENT");
        SimProcess sim({"--type", "24-06", "--workdir", work,                      //
                        "--port", "3",     "--store",   home.filePath("GOT3.CAM"), //
                        "--port", "4",     "--store",   home.filePath("GOT4.CAM"), //
                        "--port", "5",     "--store",   home.filePath("GOT5.CAM"), //
                        "--link", silent,  "--fault",   "silent"},
                       10000, 4);
        QVERIFY2(sim.devicePaths().size() == 4, qPrintable(sim.errorOutput()));

        QProcess cli;
        const QString report = home.filePath("line.json");
        startCli(cli, {"send", plan, "--ports", "3-5", "--device", silent, "--report", report},
                 home.path());
        QCOMPARE(finish(cli), 1);
        const QString out = QString::fromLocal8Bit(cli.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(cli.readAllStandardError());
        for (const char* got : {"GOT3.CAM", "GOT4.CAM", "GOT5.CAM"})
            QVERIFY2(SimProcess::WaitForStored(home.filePath(got)) == SimProcess::ReadFile(plan),
                     qPrintable(out + err));
        const QStringList rows = out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 6);
        // Column heads in Italian, the default; the result words are the report's.
        QVERIFY2(rows[0].startsWith("destinazione"), qPrintable(out));
        QVERIFY2(rows[1].startsWith("COM 3") && rows[1].contains(" ok "), qPrintable(out));
        // The silent one's first real cause: the message, the device, the stage and the why.
        QVERIFY2(rows[4].startsWith(silent) &&
                     rows[4].endsWith("COMM ERROR (" + silent +
                                      ", identificazione (\"?M\"): nessuna risposta per 3 s)"),
                 qPrintable(out));
        QCOMPARE(rows[5], QStringLiteral("3 ok, 1 failed"));
        // Not a terminal: plain progress lines, each target's own.
        QVERIFY2(err.contains(QRegularExpression("\nCOM 5 +C24-6 +ok")), qPrintable(err));

        const QJsonObject json = QJsonDocument::fromJson(SimProcess::ReadFile(report)).object();
        QCOMPARE(json.value("ok").toInt(), 3);
        QCOMPARE(json.value("failed").toInt(), 1);
        QCOMPARE(json.value("targets").toArray().at(2).toObject().value("port").toInt(), 5);

        // Each controller now holds the plan: verify says so for all three at once.
        QProcess verify;
        startCli(verify, {"verify", plan, "--ports", "3-5"}, home.path());
        QCOMPARE(finish(verify), 0);
        QVERIFY(QString::fromLocal8Bit(verify.readAllStandardOutput()).endsWith("\n3 ok\n"));
    }

    // SIGTERM (as Ctrl+C) stops every target after the frame on its way.
    void stopStopsEveryTarget() {
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"));
        const QString prefix = home.filePath("COM");
        SimProcess sim(
            {"--type", "24-06", "--count", "2", "--link", prefix, "--pace", "--baud", "300"}, 10000,
            2);
        QVERIFY2(sim.devicePaths().size() == 2, qPrintable(sim.errorOutput()));
        QProcess cli;
        startCli(
            cli,
            {"send", plan, "--device", prefix + "1", "--device", prefix + "2", "--baud", "300"},
            home.path());
        QByteArray err;
        cli.setReadChannel(QProcess::StandardError);
        QDeadlineTimer deadline(20000);
        while (!err.contains("format") && !deadline.hasExpired() && cli.waitForReadyRead(5000))
            err += cli.readAllStandardError();
        QVERIFY2(err.contains("format"), err.constData());
        cli.terminate();
        QCOMPARE(finish(cli), 1);
        const QString out = QString::fromLocal8Bit(cli.readAllStandardOutput());
        QVERIFY2(out.endsWith("2 stopped\n"), qPrintable(out));
        QVERIFY2(cli.readAllStandardError().contains("ogni linea è chiusa"), qPrintable(out));
    }

    // The issue's own case: a repeated --device flashes every controller, not only the last.
    void flashEveryNamedController() {
        QTemporaryDir home;
        const QString image = home.filePath("IMG.hex");
        QVERIFY(HexImages::Write(image, HexImages::Image(40)));
        SimProcess sim({"--erase-ms", "100", "--link", home.filePath("A"), "--flash-out",
                        home.filePath("A.hex"), "--link", home.filePath("B"), "--flash-out",
                        home.filePath("B.hex")},
                       10000, 2);
        QVERIFY2(sim.devicePaths().size() == 2, qPrintable(sim.errorOutput()));
        QProcess cli;
        startCli(cli,
                 {"flash", image, "--device", home.filePath("A"), "--device", home.filePath("B"),
                  "--yes"},
                 home.path());
        QCOMPARE(finish(cli), 0);
        QVERIFY(QString::fromLocal8Bit(cli.readAllStandardOutput()).endsWith("\n2 ok\n"));
        QDeadlineTimer deadline(10000);
        while (SimProcess::ReadFile(home.filePath("B.hex")).isEmpty() && !deadline.hasExpired())
            QTest::qWait(50);
        QVERIFY(!SimProcess::ReadFile(home.filePath("A.hex")).isEmpty());
        QVERIFY(!SimProcess::ReadFile(home.filePath("B.hex")).isEmpty());
    }

    // Eight controllers on ports 3-10, sent to again and again: not one false failure. The
    // default run sends 20 times; Q517_STRESS_RUNS=200 makes it the stress test of the README.
    void eightPortsAgainAndAgain() {
        const int runs = qEnvironmentVariableIsSet("Q517_STRESS_RUNS")
                             ? qEnvironmentVariableIntValue("Q517_STRESS_RUNS")
                             : 20;
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"));
        const QString work = QDir(home.path()).filePath("q517");
        SimProcess sim({"--type", "24-06", "--workdir", work, "--port", "3", "--count", "8"}, 10000,
                       8);
        QVERIFY2(sim.devicePaths().size() == 8, qPrintable(sim.errorOutput()));
        for (int run = 1; run <= runs; ++run) {
            QProcess cli;
            startCli(cli, {"send", plan, "--ports", "3-10"}, home.path());
            const int status = finish(cli);
            const QString out = QString::fromLocal8Bit(cli.readAllStandardOutput());
            QVERIFY2(status == 0 && out.endsWith("\n8 ok\n"),
                     qPrintable(QStringLiteral("run %1: ").arg(run) + out));
        }
    }

    void wrongArgumentsEndWithStatus2() {
        QTemporaryDir home;
        const QString plan = program(home.filePath("PLAN.CAM"));
        const QString link = home.filePath("COM");
        const QList<QStringList> lines{
            {"send", plan, "--ports", "8-3"},
            {"send", plan, "--port", "3", "--port", "3"},
            {"send", plan, "--device", link, "--device", link},
            // A command of one controller never picks one of several.
            {"receive", home.filePath("OUT.CAM"), "--device", link, "--device", link + "2"},
            {"identify", "--port", "3", "--port", "4"},
            // A report that could never be written is refused before any controller is
            // touched, and never over the line's own cam file.
            {"send", plan, "--ports", "3-5", "--report", plan},
            {"send", plan, "--device", link, "--report", home.path()},
            {"verify", plan, "--device", link, "--report", home.filePath("none/line.json")},
        };
        const QByteArray planBytes = SimProcess::ReadFile(plan);
        for (const QStringList& args : lines) {
            QProcess cli;
            startCli(cli, args, home.path());
            QCOMPARE(finish(cli), 2);
        }
        QVERIFY(!QFile::exists(home.filePath("OUT.CAM")));
        QCOMPARE(SimProcess::ReadFile(plan), planBytes);
    }
};

QTEST_GUILESS_MAIN(TestProductionLine)
#include "tst_productionline.moc"
