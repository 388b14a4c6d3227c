#include "Q517Paths.h"
#include "app/AppWindow.h"
#include "support/SimDesk.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void typeInto(const QString& text, Qt::Key end) {
    QWidget* target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClicks(target, text);
    QTest::keyClick(target, end);
}
} // namespace

// An operator's whole round on a simulated controller: the program starts on its port and
// identifies the controller, opens a cam file, enters a phase, saves, transmits, receives the
// program back and saves that too; both files must be the same, byte for byte.
class TestOperatorSession : public QObject {
    Q_OBJECT
private slots:
    void editTransmitReceiveRoundTrip() {
        QTemporaryDir work;
        const QString plan = work.filePath(QStringLiteral("PLAN.CAM"));
        QVERIFY(QFile::copy(QStringLiteral(Q517_TEST_DATA_DIR "/camfile_per_cam_8x21.CAM"), plan));
        QFile::setPermissions(plan, QFile::ReadOwner | QFile::WriteOwner);
        SimDesk desk(work.path(), {QStringLiteral("--type"), QStringLiteral("08-21")});
        QVERIFY2(desk.sim.started(), qPrintable(desk.sim.errorOutput()));
        QVERIFY(desk.optionsWritten);
        desk.dialog.setMaxFileSize(2048);

        AppWindow window(desk.session);
        QVERIFY(window.startUp());
        QCOMPARE(desk.session.program.CamCount(), 8);
        QCOMPARE(desk.session.program.FormatCount(), 21);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        desk.dialogs.chooseNextFile(plan);
        window.actions().f_Open->trigger();
        QCOMPARE(desk.session.program.CurrentFileName, plan);
        const QByteArray before = readFile(plan);

        // Cam 1 of format 1 gets 200..250 through the angle fields.
        desk.session.program.CurrentFormat = 1;
        desk.session.program.CurrentCam = 1;
        window.host().redrawFormat();
        window.actions().GoPrCam->trigger();
        auto* on = window.findChild<QLineEdit*>(QStringLiteral("GradiON"));
        QVERIFY(on && on->hasFocus());
        typeInto(QStringLiteral("200"), Qt::Key_Tab);
        typeInto(QStringLiteral("250"), Qt::Key_Return);
        QVERIFY(desk.session.program.ReadDegree(1, 1, 200));
        QVERIFY(desk.session.program.ReadDegree(1, 1, 249));
        QVERIFY(!desk.session.program.ReadDegree(1, 1, 250));

        window.actions().f_Save->trigger();
        QVERIFY(desk.session.program.ProgramSaved);
        const QByteArray saved = readFile(plan);
        QVERIFY(saved != before);

        window.actions().C_Trsz->trigger();
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));

        // Forget the program, then take it back from the controller.
        desk.session.program.ClearAllFormats();
        desk.session.program.MarkSaved();
        window.actions().c_Rcsz->trigger();
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        QVERIFY(desk.session.program.ReadDegree(1, 1, 200));

        const QString back = work.filePath(QStringLiteral("BACK.CAM"));
        desk.dialogs.chooseNextFile(back);
        window.actions().f_SaveAS->trigger();
        QVERIFY2(desk.prompts.allShown(), qPrintable(desk.prompts.problems()));
        QCOMPARE(readFile(back), saved);

        desk.line.close();
        QVERIFY(desk.sim.stop());
    }
};

QTEST_MAIN(TestOperatorSession)
#include "tst_operatorsession.moc"
