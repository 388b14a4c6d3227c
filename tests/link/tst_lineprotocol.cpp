#include "link/LineProtocol.h"
#include "support/EnglishTexts.h"
#include "support/FakeController.h"
#include "support/TestSession.h"

#include <QDir>
#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(LinkStatus)

namespace {
const QByteArray kAck("\x06", 1);
const QByteArray kNak("\x15", 1);
const QByteArray kEndFrame = QByteArray::fromHex("02454E44034C");

} // namespace

class TestLineProtocol : public QObject {
    Q_OBJECT

    // Each test gets its own clock, controller and session, wired together.
    struct Fixture {
        FakeClock clock;
        FakePrompts prompts;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog{dialogs};
        QTemporaryDir dir;
        FakeController controller{clock};
        Session session{prompts, clock, dialog, controller, dir.path()};
        const bool inEnglish = SpeakEnglish(session);
        Fixture() {
            // The port is a file that exists; the controller plays the device.
            const QString device = dir.filePath(QStringLiteral("tty"));
            QFile f(device);
            f.open(QIODevice::WriteOnly);
            session.link.state.DeviceOverride = device;
        }
        void openLine() { session.link.open(session.link.state.DeviceOverride, 9600); }
    };

private slots:
    void serialComStrSendsLineAndReturnsReply_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("pauseMs");
        QTest::newRow("whole") << QByteArray("?M") << QByteArray("?M8C\r") << 1 << 0;
        // Pauses under 3000 ms, and the whole line within 10 s.
        QTest::newRow("in pieces") << QByteArray("?M") << QByteArray("?M8C\r") << 4 << 2900;
        QTest::newRow("type in pieces") << QByteArray("?T") << QByteArray("?T93\r") << 3 << 1000;
    }
    void serialComStrSendsLineAndReturnsReply() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, sent);
        QFETCH(int, pieces);
        QFETCH(int, pauseMs);
        Fixture f;
        f.openLine();
        const QByteArray reply("24 28 the reply line ITALY-ABCDEFGHI\r");
        f.controller.when(sent, FakeController::inPieces(reply, pieces, pauseMs));
        // A stale character from before the question is dropped, not taken as the reply.
        f.controller.queue(QByteArray("X"));
        const int64_t start = f.clock.nowMs();
        QByteArray inOut = command;
        QCOMPARE(SerialComStr(f.session.linkContext(), inOut), reply);
        QCOMPARE(inOut, sent);
        QCOMPARE(f.controller.received(), sent);
        QCOMPARE(f.clock.nowMs() - start, int64_t(pauseMs) * (pieces - 1));
        QVERIFY(!f.session.link.state.ReadFailed);
        QVERIFY(f.prompts.processEventsCalls() > 0);
    }

    void serialComStrDropsNulCharacters() {
        Fixture f;
        f.openLine();
        f.controller.when("?M8C\r", FakeController::bytes(QByteArray("A\0B\r", 4)));
        QByteArray command("?M");
        QCOMPARE(SerialComStr(f.session.linkContext(), command), QByteArray("AB\r"));
    }

    void serialComStrTimesOutAfterSilence_data() {
        QTest::addColumn<QByteArray>("partial");
        QTest::addColumn<int>("elapsed");
        QTest::addColumn<QString>("cause");
        const QString silent = QStringLiteral("no answer for 3 s");
        const QString slow = QStringLiteral("no whole reply line in 10 s");
        QTest::newRow("silent") << QByteArray() << 3000 << silent;
        // A character restarts the 3000 ms; the line without CR then times out.
        QTest::newRow("part of a line") << QByteArray("24 28") << 3000 << silent;
        // One character every 2 s never falls silent: the line must be whole within 10 s.
        QTest::newRow("slow bytes") << QByteArray("24 28 Q517 ITALY") << 8000 << slow;
        QTest::newRow("NUL flood") << QByteArray(4000, '\0') << 8000 << slow;
    }
    void serialComStrTimesOutAfterSilence() {
        QFETCH(QByteArray, partial);
        QFETCH(int, elapsed);
        QFETCH(QString, cause);
        Fixture f;
        f.openLine();
        if (!partial.isEmpty())
            f.controller.when("?M8C\r", FakeController::Reply{partial, 2000, int(partial.size()),
                                                              partial.size() > 5 ? 2000 : 0});
        const int64_t start = f.clock.nowMs();
        QByteArray command("?M");
        QString why;
        QCOMPARE(SerialComStr(f.session.linkContext(), command, &why), QByteArray());
        QVERIFY(f.session.link.state.ReadFailed);
        QCOMPARE(why, cause);
        QCOMPARE(f.clock.nowMs() - start, int64_t(elapsed) + (partial.isEmpty() ? 0 : 2000));
    }

    void serialComStrEndsOnEndlessLineOrHangUp_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QString>("hangUp");
        QTest::addColumn<QString>("cause");
        // A controller that streams without ever sending CR must not keep us listening.
        QTest::newRow("endless line") << QByteArray(6000, 'Z') << ""
                                      << "more than 4096";
        // Neither must a line that is gone: no 3000 ms wait on it.
        QTest::newRow("hung up mid-reply") << QByteArray("24 28") << "Input/output error"
                                           << "Input/output error";
    }
    void serialComStrEndsOnEndlessLineOrHangUp() {
        QFETCH(QByteArray, stream);
        QFETCH(QString, hangUp);
        QFETCH(QString, cause);
        Fixture f;
        f.openLine();
        f.controller.when("?M8C\r", FakeController::bytes(stream));
        if (!hangUp.isEmpty())
            f.controller.hangUp(hangUp);
        const int64_t start = f.clock.nowMs();
        QByteArray command("?M");
        QString why;
        QCOMPARE(SerialComStr(f.session.linkContext(), command, &why), QByteArray());
        QVERIFY(f.session.link.state.ReadFailed);
        QCOMPARE(f.clock.nowMs(), start);
        QVERIFY2(why.contains(cause), qPrintable(why));
    }

    void sendFrameRetriesUntilAck_data() {
        QTest::addColumn<QList<QByteArray>>("answers");
        QTest::addColumn<int>("sendings");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("ACK at once") << QList<QByteArray>{kAck} << 1 << true;
        QTest::newRow("NAK then ACK") << QList<QByteArray>{kNak, kAck} << 2 << true;
        QTest::newRow("garbage then ACK") << QList<QByteArray>{"?", "x", kAck} << 3 << true;
        QList<QByteArray> nineNaks(9, kNak);
        nineNaks.append(kAck);
        QTest::newRow("ACK at the tenth") << nineNaks << 10 << true;
        QTest::newRow("ten NAKs") << QList<QByteArray>(10, kNak) << 10 << false;
        QTest::newRow("NAKs for ever") << QList<QByteArray>(50, kNak) << 10 << false;
    }
    void sendFrameRetriesUntilAck() {
        QFETCH(QList<QByteArray>, answers);
        QFETCH(int, sendings);
        QFETCH(bool, confirmed);
        Fixture f;
        f.openLine();
        for (const QByteArray& a : answers)
            f.controller.when(kEndFrame, FakeController::bytes(a, 10), 1);
        QCOMPARE(SendFrame(f.session.link, "END", {}), confirmed);
        // Every sending is the whole frame again, byte for byte.
        QCOMPARE(f.controller.writes().size(), sendings);
        for (const QByteArray& w : f.controller.writes())
            QCOMPARE(w, kEndFrame);
    }

    void sendFrameGivesUpOnSilence() {
        Fixture f;
        f.openLine();
        const int64_t start = f.clock.nowMs();
        QVERIFY(!SendFrame(f.session.link, "END", {}));
        QCOMPARE(f.clock.nowMs() - start, int64_t(3000));
        QCOMPARE(f.controller.writes().size(), 1);
    }

    void sendFrameAckAfterLongPauseStillCounts() {
        Fixture f;
        f.openLine();
        f.controller.when(kEndFrame, FakeController::bytes(kAck, 2999));
        QVERIFY(SendFrame(f.session.link, "END", {}));
    }

    void receiveFrame_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("good frame")
            << kEndFrame << 1 << int(ReceivedFrame::Frame) << QByteArray("END");
        QTest::newRow("in pieces")
            << kEndFrame << 6 << int(ReceivedFrame::Frame) << QByteArray("END");
        // Garbage short of the bound before the frame is skipped.
        QTest::newRow("4096 bytes of garbage first")
            << QByteArray(4096, '~') + kEndFrame << 1 << int(ReceivedFrame::Frame)
            << QByteArray("END");
        QTest::newRow("wrong check returned raw")
            << QByteArray::fromHex("7E02454E44034D") << 1 << int(ReceivedFrame::BadCheck)
            << QByteArray::fromHex("02454E44034D");
    }
    void receiveFrame() {
        QFETCH(QByteArray, stream);
        QFETCH(int, pieces);
        QFETCH(int, kind);
        QFETCH(QByteArray, result);
        Fixture f;
        f.openLine();
        f.controller.queue(FakeController::inPieces(stream, pieces, 1900));
        // What follows the frame belongs to the next one and stays waiting.
        f.controller.queue(QByteArray("\x02NEXT"));
        const ReceivedFrame got = ReceiveFrame(f.session.link, {});
        QCOMPARE(int(got.kind), kind);
        QCOMPARE(got.bytes, result);
        // Every frame is answered with exactly one ACK, right or wrong.
        QCOMPARE(f.controller.received(), kAck);
        QCOMPARE(f.controller.outputDiscards(), 1);
        QCOMPARE(f.controller.pendingBytes(), 5);
    }

    // A frame that never ends is not acknowledged: silence, a line gone, a stream too long,
    // garbage, a stream that trickles, the operator's stop.
    void receiveFrameUnfinished_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("pauseMs"); // between single bytes; 0: all at once
        QTest::addColumn<QString>("hangUp");
        QTest::addColumn<int>("stopAtMs"); // the operator stops then; -1: never
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("elapsedMs");
        QTest::addColumn<int>("kept");
        const QByteArray slow = "\x02" + QByteArray(40, 'A');
        QTest::newRow("silent") << QByteArray::fromHex("02454E") << 0 << "" << -1
                                << int(ReceivedFrame::Silent) << 3100 << 0;
        QTest::newRow("hung up") << QByteArray::fromHex("02454E") << 0 << "hung up" << -1
                                 << int(ReceivedFrame::Broken) << 100 << 0;
        QTest::newRow("endless") << "\x02" + QByteArray(5000, 'A') << 0 << "" << -1
                                 << int(ReceivedFrame::TooLong) << 100 << 4097;
        // Bytes that never begin a frame are a broken line, not a wait.
        QTest::newRow("garbage flood")
            << QByteArray(100000, 'A') << 0 << "" << -1 << int(ReceivedFrame::TooLong) << 100 << 0;
        // A line that never falls silent ends all the same, 10 s after the wait began.
        QTest::newRow("NUL flood")
            << QByteArray(4000, '\0') << 5 << "" << -1 << int(ReceivedFrame::Silent) << 10000 << 0;
        QTest::newRow("slow bytes")
            << slow << 2000 << "" << -1 << int(ReceivedFrame::Silent) << 10000 << 0;
        // Exit or Ctrl+C is seen between two bytes, not after the frame.
        QTest::newRow("stopped mid-frame")
            << slow << 2000 << "" << 4500 << int(ReceivedFrame::Stopped) << 4500 << 0;
    }
    void receiveFrameUnfinished() {
        QFETCH(QByteArray, stream);
        QFETCH(int, pauseMs);
        QFETCH(QString, hangUp);
        QFETCH(int, stopAtMs);
        QFETCH(int, kind);
        QFETCH(int, elapsedMs);
        QFETCH(int, kept);
        Fixture f;
        f.openLine();
        f.controller.queue(
            FakeController::Reply{stream, 100, pauseMs ? int(stream.size()) : 1, pauseMs});
        if (!hangUp.isEmpty())
            f.controller.hangUp(hangUp);
        const int64_t start = f.clock.nowMs();
        const ReceivedFrame got = ReceiveFrame(f.session.link, {}, [&] {
            return stopAtMs >= 0 && f.clock.nowMs() - start >= stopAtMs;
        });
        QCOMPARE(int(got.kind), kind);
        QCOMPARE(f.clock.nowMs() - start, int64_t(elapsedMs));
        QCOMPARE(f.controller.received(), QByteArray());
        QCOMPARE(got.bytes.size(), kept);
    }

    // The rows of the failure table for opening the port.
    void openSerialPort_data() {
        QTest::addColumn<QString>("device"); // "" = the fixture's existing device
        QTest::addColumn<QString>("openError");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("cts");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<LinkStatus>("opened");
        QTest::addColumn<QString>("message"); // the OS cause kept, "" for a ready controller
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("leftOpen");
        QTest::newRow("controller ready")
            << ""
            << "" << false << true << "9600" << LinkStatus::Ready << "" << 0 << true;
        QTest::newRow("38400") << ""
                               << "" << false << true << "38400" << LinkStatus::Ready << "" << 0
                               << true;
        QTest::newRow("no CTS") << ""
                                << "" << false << false << "9600" << LinkStatus::NotReady
                                << "the controller is not ready (no CTS)" << 1 << false;
        QTest::newRow("port missing") << "/nonexistent/ttyQ9"
                                      << "" << false << true << "9600" << LinkStatus::NoSuchPort
                                      << "no such device" << 101 << false;
        QTest::newRow("open refused")
            << ""
            << "Permission denied" << false << true << "9600" << LinkStatus::OpenFailed
            << "Permission denied" << 102 << false;
        QTest::newRow("port in use")
            << ""
            << "Device or resource busy" << true << true << "9600" << LinkStatus::InUse
            << "Device or resource busy" << 104 << false;
        // A speed the line refuses is a failure even when the controller is there.
        QTest::newRow("bad speed, controller present")
            << ""
            << "" << false << true << "fast" << LinkStatus::SettingsRefused
            << "line settings 0,n,8,1 refused" << 103 << false;
        QTest::newRow("bad speed, no CTS")
            << ""
            << "" << false << false << "fast" << LinkStatus::SettingsRefused
            << "line settings 0,n,8,1 refused" << 103 << false;
    }
    void openSerialPort() {
        QFETCH(QString, device);
        QFETCH(QString, openError);
        QFETCH(bool, busy);
        QFETCH(bool, cts);
        QFETCH(QString, baud);
        QFETCH(LinkStatus, opened);
        QFETCH(QString, message);
        QFETCH(int, status);
        QFETCH(bool, leftOpen);
        Fixture f;
        if (!device.isEmpty())
            f.session.link.state.DeviceOverride = device;
        if (!openError.isEmpty())
            f.controller.failOpen(openError,
                                  busy ? SerialLine::Opened::InUse : SerialLine::Opened::Failed);
        f.controller.setCts(cts);
        f.session.options.BaudRate = baud;
        f.session.options.PortNumber = 7;
        QCOMPARE(OpenSerialPort(f.session.linkContext()).status, opened);
        QCOMPARE(int(LinkErrorNumber(f.session.link.state.PortStatus)), status);
        QCOMPARE(f.controller.isOpen(), leftOpen);
        // Nothing is shown: the cause is kept, in the system's words, for the caller to tell.
        QCOMPARE(f.session.link.state.OpenCause, message);
        QVERIFY(f.prompts.messages().isEmpty());
        if (leftOpen) {
            QCOMPARE(f.controller.baudRate(), baud.toInt() > 0 ? baud.toInt() : 0);
            QVERIFY(f.controller.hardwareFlowControl());
        }
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
    }

    void openSerialPortKeepsAnOpenPort() {
        // An open port is not opened again; another port closes it first.
        Fixture f;
        OpenSerialPort(f.session.linkContext());
        QCOMPARE(f.controller.opens(), 1);
        OpenSerialPort(f.session.linkContext());
        QCOMPARE(f.controller.opens(), 1);
        QCOMPARE(int(LinkErrorNumber(f.session.link.state.PortStatus)), 0);
        CloseSerialPort(f.session.link);
        QVERIFY(!f.controller.isOpen());
        CloseSerialPort(f.session.link);
        QCOMPARE(f.controller.closes(), 1);
    }

    void openSerialPortUsesThePortLink() {
        Fixture f;
        f.session.link.state.DeviceOverride.clear();
        f.session.options.PortNumber = 12;
        QDir(f.dir.path()).mkpath(QStringLiteral("ports"));
        const QString link = f.dir.filePath(QStringLiteral("ports/COM12"));
        QVERIFY(QFile::link(f.dir.filePath(QStringLiteral("tty")), link));
        OpenSerialPort(f.session.linkContext());
        QCOMPARE(int(LinkErrorNumber(f.session.link.state.PortStatus)), 0);
        QCOMPARE(f.controller.openedDevice(), link);
    }
};

QTEST_APPLESS_MAIN(TestLineProtocol)
#include "tst_lineprotocol.moc"
