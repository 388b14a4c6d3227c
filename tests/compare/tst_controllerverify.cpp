#include "compare/ControllerVerify.h"
#include "compare/DiffReport.h"
#include "link/ProgramReception.h"
#include "support/TransferFixture.h"

#include <QTest>

namespace {

const QList<QByteArray> Stream{"FUNZIONI 24-06", "00",       "000000000000", "FORMATO N. 01",
                               "C 05",           " 010 020", "END"};

// What the file side holds: the controller's program, and maybe one cam more.
CamProgram expectedProgram(bool oneCamMore) {
    CamProgram p;
    p.Reconfigure(24, 6, false);
    p.SetPhase(1, 5, 10, 20);
    if (oneCamMore)
        p.SetPhase(2, 1, 30, 40);
    return p;
}

} // namespace

class TestControllerVerify : public QObject {
    Q_OBJECT
private slots:
    void verify_data() {
        QTest::addColumn<int>("controllerCams");
        QTest::addColumn<int>("controllerFormats");
        QTest::addColumn<int>("silentFrom");
        QTest::addColumn<bool>("oneCamMore");
        QTest::addColumn<QStringList>("messages"); // what the operator is to be shown
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("received");   // how the reception ended, when it ran
        QTest::addColumn<QByteArray>("camLine"); // the controller's line for cam 5
        const int whole = 1 << 30;
        QTest::newRow("same") << 24 << 6 << whole << false << QStringList()
                              << int(VerifyStatus::Compared) << QStringList() << "done"
                              << QByteArray("C 05");
        QTest::newRow("one cam differs")
            << 24 << 6 << whole << true << QStringList() << int(VerifyStatus::Compared)
            << QStringList{"F02 C01  A: 030 040  B: none"} << "done" << QByteArray("C 05");
        QTest::newRow("another type")
            << 16 << 10 << whole << false << QStringList{"C16-10T71"}
            << int(VerifyStatus::OtherType) << QStringList() << "" << QByteArray("C 05");
        QTest::newRow("broken off")
            << 24 << 6 << 4 << false << QStringList() << int(VerifyStatus::Broken) << QStringList()
            << "refused TIMEOUT SERIAL PORT " << QByteArray("C 05");
        // The stream came whole, but a line of it is no cam of the type: nothing is compared.
        QTest::newRow("a line that cannot be read")
            << 24 << 6 << whole << false << QStringList{"C 99T10"} << int(VerifyStatus::Broken)
            << QStringList() << "done" << QByteArray("C 99");
        QTest::newRow("silent from the start")
            << 24 << 6 << 0 << false << QStringList() << int(VerifyStatus::NotReceived)
            << QStringList() << "refused TIMEOUT SERIAL PORT " << QByteArray("C 05");
    }
    void verify() {
        QFETCH(int, controllerCams);
        QFETCH(int, controllerFormats);
        QFETCH(int, silentFrom);
        QFETCH(bool, oneCamMore);
        QFETCH(QStringList, messages);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        QFETCH(QString, received);
        QFETCH(QByteArray, camLine);
        TransferFixture f(24, 28, controllerCams, controllerFormats);
        // The operator's program is of another size and holds its own work, still to be
        // taken back by Undo.
        f.session.edit.selectFormat(7);
        f.session.edit.selectCam(3);
        f.session.edit.enterPhase(100, 200);
        QList<QByteArray> stream = Stream;
        stream.replace(stream.indexOf("C 05"), camLine);
        f.script.stream(stream, silentFrom);
        const VerifyResult result = VerifyController(f.session.linkContext(), f.session.program,
                                                     expectedProgram(oneCamMore), f.progress);
        QCOMPARE(int(result.Status), status);
        QCOMPARE(result.Refused.message, messages.value(0));
        QCOMPARE(f.progress.events.isEmpty() ? QString() : f.progress.events.last(), received);
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        QCOMPARE(DiffLines(result.Diff), lines);
        if (result.Status == VerifyStatus::Compared) {
            QVERIFY(result.Received.ReadDegree(1, 5, 10));
            QCOMPARE(f.transferFile(), Stream.join("\r\n") + "\r\n");
        }
        QCOMPARE(f.session.program.FormatCount(), 28);
        QCOMPARE(f.phases(7, 3), QStringLiteral("100-200"));
        QCOMPARE(f.phases(1, 5), QString());
        QVERIFY(!f.session.program.ProgramSaved);
        QCOMPARE(f.session.program.CurrentFormat, 7);
        QVERIFY(f.session.edit.canUndo());
        // A reception closes the port at its end; a refused type leaves it as identified.
        QCOMPARE(f.controller.isOpen(), result.Status == VerifyStatus::OtherType);
    }
};

QTEST_GUILESS_MAIN(TestControllerVerify)
#include "tst_controllerverify.moc"
