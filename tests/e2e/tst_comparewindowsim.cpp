#include "app/AppWindow.h"
#include "compare/gui/DifferencesWindow.h"
#include "model/CamFileWriter.h"
#include "support/ProgramPair.h"
#include "support/SimDesk.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

// Comm > Compare with Controller and Options > Verify after Transmit on q517-sim, through the
// main window's menu entries.
class TestCompareWindowSim : public QObject {
    Q_OBJECT

    static QString resultShown(const MainWindow& window) {
        return window.findChild<QLabel*>(QStringLiteral("StResult"))->text();
    }

private slots:
    void compareThenTransmitAndVerify() {
        QTemporaryDir work;
        const QString plan = work.filePath(QStringLiteral("PLAN.CAM"));
        const QString onController = work.filePath(QStringLiteral("CONTROLLER.CAM"));
        QVERIFY(WriteCamFile(ProgramPair::A(), plan, false));
        QVERIFY(WriteCamFile(ProgramPair::B(), onController, false));
        SimDesk desk(work.path(), {QStringLiteral("--program"), onController});
        QVERIFY2(desk.sim.started(), qPrintable(desk.sim.errorOutput()));
        QVERIFY(desk.optionsWritten);
        desk.dialog.setMaxFileSize(2048);
        AppWindow window(desk.session);
        QVERIFY(window.startUp());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        desk.dialogs.chooseNextFile(plan);
        window.actions().f_Open->trigger();
        QVERIFY(desk.session.program.ReadDegree(1, 3, 79));

        window.actions().C_Compare->trigger();
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        auto* differences = window.findChild<DifferencesWindow*>(QStringLiteral("DIFF"));
        QVERIFY(differences);
        QCOMPARE(differences->DiffList->count(), 2);
        QCOMPARE(resultShown(window),
                 QStringLiteral("Controller differs: 2 cams, 0 names, 0 parameters"));
        // The program in memory is still the file's.
        QVERIFY(desk.session.program.ReadDegree(1, 3, 79));
        QVERIFY(!desk.session.program.ReadDegree(1, 3, 85));
        QVERIFY(desk.session.program.ProgramSaved);
        differences->close();

        // Verify after Transmit is off until it is chosen; then a transmission is read back.
        QAction* verify = window.actions().o_Verify;
        QVERIFY(verify->isCheckable() && !verify->isChecked());
        verify->trigger();
        QVERIFY(desk.session.settings.VerifyAfterTransmit());
        desk.prompts.expectMessage(QStringLiteral("Verified: the controller holds the program"));
        window.actions().C_Trsz->trigger();
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        QCOMPARE(resultShown(window), QStringLiteral("Verified: the controller holds the program"));
        QVERIFY(!window.findChild<DifferencesWindow*>(QStringLiteral("DIFF")) ||
                !window.findChild<DifferencesWindow*>(QStringLiteral("DIFF"))->isVisible());

        desk.line.close();
        QVERIFY(desk.sim.stop());
    }
};

QTEST_MAIN(TestCompareWindowSim)
#include "tst_comparewindowsim.moc"
