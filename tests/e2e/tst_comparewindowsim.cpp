#include "compare/gui/DifferencesWindow.h"
#include "link/QtSerialLine.h"
#include "model/CamFileWriter.h"
#include "shell/Clock.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"
#include "support/CamRuns.h"
#include "support/FakeCommonDialog.h"
#include "support/FakePrompts.h"
#include "support/SimProcess.h"

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
        CamProgram mine;
        mine.Reconfigure(16, 10, false);
        CamRuns::Fill(mine, 1, 3, {{20, 79}});
        CamRuns::Fill(mine, 4, 16, {{300, 29}, {90, 179}});
        CamProgram controllers = mine;
        CamRuns::Fill(controllers, 1, 3, {{20, 89}});
        CamRuns::Fill(controllers, 4, 16, {{90, 179}});
        const QString plan = work.filePath(QStringLiteral("PLAN.CAM"));
        const QString onController = work.filePath(QStringLiteral("CONTROLLER.CAM"));
        QVERIFY(WriteCamFile(mine, plan, false));
        QVERIFY(WriteCamFile(controllers, onController, false));
        SimProcess sim({QStringLiteral("--workdir"), work.path(), QStringLiteral("--port"),
                        QStringLiteral("9"), QStringLiteral("--program"), onController});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));

        FakePrompts prompts;
        SystemClock clock;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog(dialogs);
        dialog.setMaxFileSize(2048);
        QtSerialLine line;
        Session session(prompts, clock, dialog, line, work.path());
        Options options;
        options.PortNumber = 9;
        QVERIFY(options.WriteOptionsFile(work.path()));
        MainWindow window(session);
        QVERIFY(window.startUp());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs.chooseNextFile(plan);
        window.actions().f_Open->trigger();
        QVERIFY(session.program.ReadDegree(1, 3, 79));

        window.actions().C_Compare->trigger();
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        auto* differences = window.findChild<DifferencesWindow*>(QStringLiteral("DIFF"));
        QVERIFY(differences);
        QCOMPARE(differences->DiffList->count(), 2);
        QCOMPARE(resultShown(window),
                 QStringLiteral("Controller differs: 2 cams, 0 names, 0 parameters"));
        // The program in memory is still the file's.
        QVERIFY(session.program.ReadDegree(1, 3, 79));
        QVERIFY(!session.program.ReadDegree(1, 3, 85));
        QVERIFY(session.program.ProgramSaved);
        differences->close();

        // Verify after Transmit is off until it is chosen; then a transmission is read back.
        QAction* verify = window.actions().o_Verify;
        QVERIFY(verify->isCheckable() && !verify->isChecked());
        verify->trigger();
        QVERIFY(session.settings.VerifyAfterTransmit());
        prompts.expectMessage(QStringLiteral("Verified: the controller holds the program"));
        window.actions().C_Trsz->trigger();
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        QCOMPARE(resultShown(window), QStringLiteral("Verified: the controller holds the program"));
        QVERIFY(!window.findChild<DifferencesWindow*>(QStringLiteral("DIFF")) ||
                !window.findChild<DifferencesWindow*>(QStringLiteral("DIFF"))->isVisible());

        line.close();
        QVERIFY(sim.stop());
    }
};

QTEST_MAIN(TestCompareWindowSim)
#include "tst_comparewindowsim.moc"
