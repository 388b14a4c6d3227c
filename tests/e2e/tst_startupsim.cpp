#include "link/QtSerialLine.h"
#include "shell/Clock.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"
#include "support/FakeCommonDialog.h"
#include "support/FakePrompts.h"
#include "support/SimProcess.h"

#include <QTemporaryDir>
#include <QTest>

// The program's start-up against a simulated controller on a real pseudo-terminal: the
// controller's type sizes the program in memory.
class TestStartupSim : public QObject {
    Q_OBJECT
private slots:
    void startupSizesProgramToController_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::newRow("8/21") << "08-21" << 8 << 21;
        QTest::newRow("8/89") << "08-89" << 8 << 89;
        QTest::newRow("16/10") << "16-10" << 16 << 10;
        QTest::newRow("16/44") << "16-44" << 16 << 44;
        QTest::newRow("24/6") << "24-06" << 24 << 6;
        QTest::newRow("24/28") << "24-28" << 24 << 28;
    }
    void startupSizesProgramToController() {
        QFETCH(QString, type);
        QFETCH(int, cams);
        QFETCH(int, formats);
        QTemporaryDir work;
        SimProcess sim({QStringLiteral("--workdir"), work.path(), QStringLiteral("--port"),
                        QStringLiteral("9"), QStringLiteral("--type"), type});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));

        FakePrompts prompts;
        SystemClock clock;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog(dialogs);
        QtSerialLine line;
        Session session(prompts, clock, dialog, line, work.path());
        Options stored;
        stored.PortNumber = 9;
        QVERIFY(stored.WriteOptionsFile(work.path()));

        MainWindow window(session);
        QVERIFY(window.startUp());
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        QCOMPARE(session.program.CamCount(), cams);
        QCOMPARE(session.program.FormatCount(), formats);
        QCOMPARE(int(session.link.state.PortStatus), 0);
        QVERIFY(session.link.state.IdentReply.contains(QStringLiteral("ITALY-SIMC")));
        QVERIFY(session.link.state.TypeReply.contains(QLatin1Char('-')));
        // The port stays open after a successful identification.
        QVERIFY(line.isOpen());
        line.close();
        QVERIFY(sim.stop());
    }

    void startupWithoutAnswerKeepsDefaultType() {
        QTemporaryDir work;
        SimProcess sim({QStringLiteral("--workdir"), work.path(), QStringLiteral("--port"),
                        QStringLiteral("9"), QStringLiteral("--type"), QStringLiteral("08-89"),
                        QStringLiteral("--fault"), QStringLiteral("bad-reply")});
        QVERIFY(sim.started());
        FakePrompts prompts;
        SystemClock clock;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog(dialogs);
        QtSerialLine line;
        Session session(prompts, clock, dialog, line, work.path());
        Options stored;
        stored.PortNumber = 9;
        QVERIFY(stored.WriteOptionsFile(work.path()));
        MainWindow window(session);
        QVERIFY(window.startUp());
        // Six replies without "ITALY": nothing said, nothing changed.
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        QCOMPARE(session.program.CamCount(), 24);
        QCOMPARE(session.program.FormatCount(), 6);
    }
};

QTEST_MAIN(TestStartupSim)
#include "tst_startupsim.moc"
