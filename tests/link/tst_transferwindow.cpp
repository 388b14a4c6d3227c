#include "app/AppWindow.h"
#include "link/gui/DrawProgress.h"
#include "link/gui/TransferWindow.h"
#include "support/TransferFixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

QList<QByteArray> stream24x6() {
    return {"FUNZIONI 24-06", "00",
            "000000000000",   "FORMATO N. 01",
            "C 02",           " 010 020",
            "FORMATO N. 02",  "FORMATO N. 03",
            "FORMATO N. 04",  "FORMATO N. 05",
            "FORMATO N. 06",  "END"};
}

// Clicks Exit (queued, so the click lands while the window waits on the line) once the
// program has answered (or sent) this many frames.
void exitAfterFrames(TransferFixture& f, TransferWindow& window, int frames) {
    auto count = std::make_shared<int>(0);
    f.controller.onWrite([&window, count, frames](const QByteArray& written, FakeController&) {
        const bool frameDone = written == QByteArray(1, '\x06') || written.startsWith('\x02');
        if (frameDone && ++*count == frames)
            QMetaObject::invokeMethod(window.K_EXIT, "click", Qt::QueuedConnection);
    });
}

QString statusResult(const MainWindow& main) {
    const auto* result = main.findChild<QLabel*>(QStringLiteral("StResult"));
    return result ? result->text() : QStringLiteral("<no StResult>");
}

} // namespace

class TestTransferWindow : public QObject {
    Q_OBJECT

private slots:
    void receptionShowsItsProgress() {
        TransferFixture f(24, 6);
        f.script.stream(stream24x6());
        f.controller.open(f.session.link.state.DeviceOverride, nullptr);
        f.session.link.state.IdentReply =
            QString::fromLatin1(TransferControllerScript::IdentReply(24, 6));
        TransferWindow window(f.session, "?FR");
        QCOMPARE(window.objectName(), QStringLiteral("Logcomm"));
        QCOMPARE(window.windowTitle(), QStringLiteral("T45"));
        window.exec();
        QCOMPARE(window.outcome(), TransferOutcome::Completed);
        QCOMPARE(window.windowTitle(), QStringLiteral("T120 ABCDEFGHI"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabRT"))->text(),
                 QStringLiteral("T4624"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabPRG"))->text(),
                 QStringLiteral("T48FORMATO N. 06"));
        QCOMPARE(window.findChild<ProgressBarWidget*>(QStringLiteral("Barra"))->percent(), 100);
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("K_EXIT")));
        QVERIFY(!f.controller.isOpen());
        QVERIFY(f.transferFile().endsWith("END\r\n"));
    }

    // A transmission stopped leaves the controller with part of a program: asked first.
    void exitStopsARunningTransfer_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("answer"); // -1: nothing asked
        QTest::newRow("reception") << QByteArray("?FR") << -1;
        QTest::newRow("transmission, Yes") << QByteArray("?FW") << int(Prompts::Answer::Yes);
        QTest::newRow("transmission, No") << QByteArray("?FW") << int(Prompts::Answer::No);
    }
    void exitStopsARunningTransfer() {
        QFETCH(QByteArray, command);
        QFETCH(int, answer);
        TransferFixture f(24, 6);
        if (answer >= 0)
            f.prompts.expectMessage(
                QStringLiteral("Stop now? The controller's program will be incomplete."),
                Prompts::Answer(answer));
        f.script.stream(stream24x6());
        f.script.setGap(200); // the controller takes its time, so Exit lands during a wait
        f.controller.whenFrame(FakeController::bytes(QByteArray(1, 0x06), 200));
        TransferWindow window(f.session, command);
        exitAfterFrames(f, window, 3);
        window.exec();
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        if (answer == int(Prompts::Answer::No)) {
            QCOMPARE(f.prompts.messages().at(0).buttons, Prompts::Buttons::YesNoDefaultNo);
            QCOMPARE(window.outcome(), TransferOutcome::Completed);
            return;
        }
        QCOMPARE(window.outcome(), TransferOutcome::Stopped);
        QVERIFY(!f.controller.isOpen());
        if (command == "?FR") {
            // The wait for the next frame ends at the Exit, whatever comes on the line.
            QCOMPARE(f.controller.received().count('\x06'), 3);
        } else {
            QCOMPARE(TransferControllerScript::FrameTexts(f.controller.received()),
                     (QList<QByteArray>{"0", "000000000000", "F01"}));
        }
    }

    // A refusal is the window's message, with where and why and what the controller now
    // holds; the labels show how far the transmission came: three frames confirmed, the
    // header of format 2 unanswered.
    void refusalIsTheWindowsMessage() {
        TransferFixture f(24, 6);
        f.controller.whenFrame(FakeController::ack(), 3);
        f.controller.whenFrame(FakeController::silence());
        f.prompts.expectMessage(QStringLiteral("TIMEOUT SERIAL PORT \n") +
                                f.session.link.state.DeviceOverride +
                                QStringLiteral(", format 2, frame 4: the frame was not "
                                               "confirmed by ACK\nT340"));
        TransferWindow window(f.session, "?FW");
        window.exec();
        QCOMPARE(window.outcome(), TransferOutcome::TimedOut);
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        QCOMPARE(window.result().holds, Outcome::Holds::IncompleteProgram);
        QCOMPARE(window.LabRT->text(), QStringLiteral("T47 24"));
        QCOMPARE(window.LabPRG->text(), QStringLiteral("T52 2"));
    }

    void commMenuReceivesIntoTheProgram() {
        TransferFixture f(24, 6);
        f.script.stream(stream24x6());
        f.session.program.SetPhase(3, 1, 100, 200);
        AppWindow main(f.session);
        QSignalSpy redraws(&main.host(), &WindowHost::redrawRequested);
        main.actions().c_Rcsz->trigger();
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        QCOMPARE(f.phases(1, 2), QStringLiteral("10-20"));
        QCOMPARE(f.phases(3, 1), QString());
        QVERIFY(redraws.count() >= 1);
        QVERIFY2(statusResult(main).startsWith(QStringLiteral("Received 6 formats in ")),
                 qPrintable(statusResult(main)));
    }

    void commMenuTransmitsTheProgram() {
        TransferFixture f(24, 6);
        f.script.acknowledgeFrames();
        f.session.program.SetPhase(2, 4, 5, 6);
        AppWindow main(f.session);
        main.actions().C_Trsz->trigger();
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        const QList<QByteArray> frames =
            TransferControllerScript::FrameTexts(f.controller.received());
        QVERIFY(frames.contains(" 005 006"));
        QCOMPARE(frames.last(), QByteArray("END"));
        QVERIFY2(statusResult(main).startsWith(QStringLiteral("Transmitted 6 formats in ")),
                 qPrintable(statusResult(main)));
    }
};

QTEST_MAIN(TestTransferWindow)
#include "tst_transferwindow.moc"
