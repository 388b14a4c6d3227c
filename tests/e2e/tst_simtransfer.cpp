#include "dialogs/CommonDialog.h"
#include "link/Clock.h"
#include "link/ProgramReception.h"
#include "link/QtSerialLine.h"
#include "link/gui/TransferWindow.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "shell/Session.h"
#include "support/CliRun.h"
#include "support/EnglishTexts.h"
#include "support/FakeCommonDialog.h"
#include "support/FakePrompts.h"
#include "support/SimProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

CliRun runCli(const QStringList& args, const QString& home, int timeoutMs = 120000) {
    return CliRun::Run(args, home, timeoutMs);
}

// A program of one type with phases, names, advances and parameters drawn at random, in
// the ranges a cam file carries.
CamProgram randomProgram(int cams, int formats, quint32 seed) {
    QRandomGenerator random(seed);
    CamProgram program;
    program.Reconfigure(cams, formats, false);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 \u00E9-");
    for (int cam = 1; cam <= cams; ++cam) {
        if (random.bounded(3) == 0)
            continue;
        QString name;
        const int length = 1 + random.bounded(CamProgram::MaxNameLength);
        for (int i = 0; i < length; ++i)
            name += letters.at(random.bounded(int(letters.size())));
        program.SetCamName(cam, name);
    }
    for (int format = 1; format <= formats; ++format)
        for (int cam = 1; cam <= cams; ++cam) {
            if (random.bounded(4) != 0)
                continue;
            const int phases = 1 + random.bounded(4);
            for (int k = 0; k < phases; ++k)
                program.SetPhase(format, cam, random.bounded(360), random.bounded(360));
        }
    FunctionParameters& f = program.Parameters;
    const int divisors[] = {0, 4, 2, 1};
    const int mode = random.bounded(4);
    f.AdvanceCount = int16_t(mode == 0 ? 0 : cams / divisors[mode]);
    for (int k = 0; k < cams; ++k)
        f.CamAdvance[k] = uint8_t(k < f.AdvanceCount ? random.bounded(256) : 0);
    f.OutputFormat = int16_t(random.bounded(100));
    f.EncoderShift = int16_t(random.bounded(-99, 1000));
    f.RotationSense = int16_t(random.bounded(10));
    f.SpeedLimit = int16_t(random.bounded(-32768, 32768));
    return program;
}

QString writeProgram(const CamProgram& program, const QString& path) {
    return WriteCamFile(program, path, false) ? path : QString();
}

} // namespace

class TestSimTransfer : public QObject {
    Q_OBJECT

private slots:
    void everyTypeTravelsBothWays_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::newRow("8-21") << "08-21" << 8 << 21;
        QTest::newRow("8-89") << "08-89" << 8 << 89;
        QTest::newRow("16-10") << "16-10" << 16 << 10;
        QTest::newRow("16-44") << "16-44" << 16 << 44;
        QTest::newRow("24-6") << "24-06" << 24 << 6;
        QTest::newRow("24-28") << "24-28" << 24 << 28;
    }
    void everyTypeTravelsBothWays() {
        QFETCH(QString, type);
        QFETCH(int, cams);
        QFETCH(int, formats);
        QTemporaryDir home;
        const QString original =
            writeProgram(randomProgram(cams, formats, quint32(cams * 100 + formats)),
                         home.filePath(QStringLiteral("ORIGINAL.CAM")));
        QVERIFY(!original.isEmpty());
        const QString stored = home.filePath(QStringLiteral("STORED.CAM"));
        const QString received = home.filePath(QStringLiteral("RECEIVED.CAM"));
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--type"), type,
                        QStringLiteral("--store"), stored});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));

        const CliRun send = runCli(
            {QStringLiteral("send"), original, QStringLiteral("--device"), link}, home.path());
        QVERIFY2(send.status == 0, qPrintable(send.err + sim.errorOutput()));
        QVERIFY(send.err.contains(QStringLiteral("FORMATO")) ||
                send.err.contains(QStringLiteral("%")));
        QCOMPARE(SimProcess::WaitForStored(stored), SimProcess::ReadFile(original));

        const CliRun receive = runCli(
            {QStringLiteral("receive"), received, QStringLiteral("--device"), link}, home.path());
        QVERIFY2(receive.status == 0, qPrintable(receive.err + sim.errorOutput()));
        QCOMPARE(SimProcess::ReadFile(received), SimProcess::ReadFile(original));
    }

    void negativeAnswersAreAnsweredByResending() {
        QTemporaryDir home;
        const QString original =
            writeProgram(randomProgram(16, 10, 7), home.filePath(QStringLiteral("P.CAM")));
        const QString stored = home.filePath(QStringLiteral("STORED.CAM"));
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--type"),
                        QStringLiteral("16-10"), QStringLiteral("--store"), stored,
                        QStringLiteral("--fault"), QStringLiteral("nak-first")});
        QVERIFY(sim.started());
        const CliRun send = runCli(
            {QStringLiteral("send"), original, QStringLiteral("--device"), link}, home.path());
        QVERIFY2(send.status == 0, qPrintable(send.err + sim.errorOutput()));
        QVERIFY(!send.err.contains(QStringLiteral("TIMEOUT")));
        QCOMPARE(SimProcess::WaitForStored(stored), SimProcess::ReadFile(original));
    }

    void silentControllerMidStream_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("send") << "send";
        QTest::newRow("receive") << "receive";
    }
    void silentControllerMidStream() {
        QFETCH(QString, command);
        QTemporaryDir home;
        const QString program =
            writeProgram(randomProgram(24, 6, 11), home.filePath(QStringLiteral("P.CAM")));
        const QString stored = home.filePath(QStringLiteral("STORED.CAM"));
        const QString out = home.filePath(QStringLiteral("OUT.CAM"));
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--program"), program,
                        QStringLiteral("--store"), stored, QStringLiteral("--fault"),
                        QStringLiteral("silent-after=5")});
        QVERIFY(sim.started());
        const QString file = command == QLatin1String("send") ? program : out;
        const CliRun run = runCli({command, file, QStringLiteral("--device"), link}, home.path());
        QCOMPARE(run.status, 1);
        // Said once: by the reception's lines, or by the summary of the line of one.
        QCOMPARE((run.out + run.err).count(QStringLiteral("TIMEOUT SERIAL PORT ")), 1);
        QVERIFY(!QFile::exists(out));
        QVERIFY(!QFile::exists(stored));
    }

    // A stream that ends early with a proper END (the function block, format 1's header and
    // one cam line): the program did not come whole, so nothing is written and the formats
    // that never came are named.
    void shortReceptionWritesNothing() {
        QTemporaryDir home;
        const QString program =
            writeProgram(randomProgram(24, 6, 11), home.filePath(QStringLiteral("P.CAM")));
        const QString out = home.filePath(QStringLiteral("OUT.CAM"));
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--program"), program,
                        QStringLiteral("--fault"), QStringLiteral("end-after=5")});
        QVERIFY(sim.started());
        const CliRun run =
            runCli({QStringLiteral("receive"), out, QStringLiteral("--device"), link}, home.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("(i formati 2-6 non sono mai arrivati); ") + out +
                                  QStringLiteral(" non scritto")),
                 qPrintable(run.err));
        QVERIFY(!QFile::exists(out));
    }

    void otherTypeIsRefused() {
        QTemporaryDir home;
        const QString program =
            writeProgram(randomProgram(8, 21, 3), home.filePath(QStringLiteral("P.CAM")));
        const QString stored = home.filePath(QStringLiteral("STORED.CAM"));
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--store"), stored});
        QVERIFY(sim.started());
        const CliRun run = runCli(
            {QStringLiteral("send"), program, QStringLiteral("--device"), link}, home.path());
        QCOMPARE(run.status, 1);
        QVERIFY2(run.out.contains(QStringLiteral("C24-28")) &&
                     run.out.contains(QString::fromUtf8("il programma è un C8-21")),
                 qPrintable(run.out));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(stored));
    }

    void unreadableFileSendsNothing() {
        QTemporaryDir home;
        const QString bad = home.filePath(QStringLiteral("BAD.CAM"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("FUNZIONI 24-10\r\n");
        f.close();
        const CliRun run = runCli({QStringLiteral("send"), bad, QStringLiteral("--device"),
                                   home.filePath(QStringLiteral("NOPORT"))},
                                  home.path());
        // Trouble before any controller was reached.
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(QStringLiteral("FUNZIONI 24-10")), qPrintable(run.err));
    }

    void receptionCancelledByExit() {
        QTemporaryDir home;
        const QString program =
            writeProgram(randomProgram(24, 28, 5), home.filePath(QStringLiteral("P.CAM")));
        const QString link = home.filePath(QStringLiteral("COM"));
        // At a real line's pace the program takes many seconds, so Exit lands mid-stream.
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--program"), program,
                        QStringLiteral("--pace"), QStringLiteral("--baud"),
                        QStringLiteral("9600")});
        QVERIFY(sim.started());

        FakePrompts prompts;
        SystemClock clock;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog{dialogs};
        QtSerialLine line;
        Session session(prompts, clock, dialog, line, home.path());
        SpeakEnglish(session);
        session.link.state.DeviceOverride = link;
        session.options.BaudRate = QStringLiteral("9600");
        session.program.Reconfigure(24, 28, false);
        session.program.SetPhase(2, 3, 40, 50);
        session.program.ProgramSaved = true;

        QElapsedTimer elapsed;
        elapsed.start();
        TransferOutcome outcome = TransferOutcome::Completed;
        const ReceiveSizesResult result = ReceiveSizes(
            session.linkContext(), session.program, session.edit, QStringLiteral("MAIN"), [&] {
                TransferWindow window(session, "?FR");
                QTimer::singleShot(1500, window.K_EXIT, &QPushButton::click);
                window.exec();
                outcome = window.outcome();
                return outcome;
            });
        QCOMPARE(outcome, TransferOutcome::Stopped);
        QCOMPARE(result, ReceiveSizesResult::NothingReceived);
        QVERIFY(elapsed.elapsed() < 10000);
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        QCOMPARE(session.program.ListPhases(2, 3).size(), std::size_t(1));
        QVERIFY(session.program.ProgramSaved);
        QVERIFY(!line.isOpen());
    }
};

QTEST_MAIN(TestSimTransfer)
#include "tst_simtransfer.moc"
