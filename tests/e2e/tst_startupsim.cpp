#include "app/AppWindow.h"
#include "support/SimDesk.h"

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
        SimDesk desk(work.path(), {QStringLiteral("--type"), type});
        QVERIFY2(desk.sim.started(), qPrintable(desk.sim.errorOutput()));
        QVERIFY(desk.optionsWritten);

        AppWindow window(desk.session);
        QVERIFY(window.startUp());
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        QCOMPARE(desk.session.program.CamCount(), cams);
        QCOMPARE(desk.session.program.FormatCount(), formats);
        QCOMPARE(int(LinkErrorNumber(desk.session.link.state.PortStatus)), 0);
        QVERIFY(desk.session.link.state.IdentReply.contains(QStringLiteral("ITALY-SIMC")));
        QVERIFY(desk.session.link.state.TypeReply.contains(QLatin1Char('-')));
        // The port stays open after a successful identification.
        QVERIFY(desk.line.isOpen());
        desk.line.close();
        QVERIFY(desk.sim.stop());
    }

    void startupWithoutAnswerKeepsDefaultType() {
        QTemporaryDir work;
        SimDesk desk(work.path(), {QStringLiteral("--type"), QStringLiteral("08-89"),
                                   QStringLiteral("--fault"), QStringLiteral("bad-reply")});
        QVERIFY(desk.sim.started());
        QVERIFY(desk.optionsWritten);
        AppWindow window(desk.session);
        QVERIFY(window.startUp());
        // Six replies without "ITALY": nothing said, nothing changed.
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        QCOMPARE(desk.session.program.CamCount(), 24);
        QCOMPARE(desk.session.program.FormatCount(), 6);
    }
};

QTEST_MAIN(TestStartupSim)
#include "tst_startupsim.moc"
