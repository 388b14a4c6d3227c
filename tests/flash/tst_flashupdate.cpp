#include "flash/FlashUpdate.h"
#include "flash/UpdateRun.h"

#include "support/FakeClock.h"
#include "support/FakeCommonDialog.h"
#include "support/FakeController.h"
#include "support/FakeFlashView.h"
#include "support/FakePrompts.h"
#include "support/FlashControllerScript.h"
#include "support/HexImages.h"

#include "shell/Session.h"

#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray Ack(1, '\x06');
const QByteArray Nak(1, '\x15');

// The counters' row while sending and the time field, in pixels.
constexpr int SentLinesX = 160, SentBytesX = 320, AddressX = 460, CountersY = 144;
constexpr int TimeX = 250, TimeY = 180;

// One update run against a scripted controller, all on a fake clock.
struct Fixture {
    FakeClock clock;
    FakePrompts prompts;
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    QTemporaryDir dir;
    FakeController controller{clock};
    Session session{prompts, clock, dialog, controller, dir.path()};
    FlashControllerScript loader;
    FakeFlashView view;
    QString image;
    QList<QByteArray> lines;

    Fixture() {
        session.link.DeviceOverride = dir.filePath(QStringLiteral("tty"));
        loader.install(controller);
        image = dir.filePath(QStringLiteral("firmware.hex"));
    }
    void writeImage(const QList<QByteArray>& content) {
        lines = content;
        QVERIFY(HexImages::Write(image, content));
    }
    // Runs the window's sequence; "UPDATE FLASH ?" is answered answer.
    bool run(Prompts::Answer answer = Prompts::Answer::Yes) {
        prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), answer);
        return runWithoutQuestion();
    }
    bool runWithoutQuestion() {
        UpdateRun update(session, view, image);
        update.setPortCheck([](int) { return true; });
        update.Run();
        return update.updated();
    }
    // The lines the controller received after ":FUD5".
    const QList<QByteArray>& sent() const { return loader.records; }
};
} // namespace

class TestFlashUpdate : public QObject {
    Q_OBJECT
private slots:
    void updatesAtNormalSpeedWithoutEnq();
    void fastLoaderSwitchesAfterEnq_data();
    void fastLoaderSwitchesAfterEnq();
    void enqNeverComes();
    void eraseWait_data();
    void eraseWait();
    void nakResendsTheSameLine_data();
    void nakResendsTheSameLine();
    void lineAnswerTimeout_data();
    void lineAnswerTimeout();
    void refreshInterval_data();
    void refreshInterval();
    void countersRefreshed_data();
    void countersRefreshed();
    void zeroLengthRecords_data();
    void zeroLengthRecords();
    void elapsedTime();
    void wrongPortLeavesWindowOpen();
    void operatorSaysNo();
    void deviceNotReady();
    void checkFailureSendsNothing_data();
    void checkFailureSendsNothing();
    void lineChangedSinceTheCheck();
};

void TestFlashUpdate::updatesAtNormalSpeedWithoutEnq() {
    Fixture f;
    f.writeImage(HexImages::Image(5));
    QVERIFY(f.run());
    // The type is asked, then the update mode entered, both as checksummed command lines.
    QVERIFY(f.controller.received().startsWith("?T93\r:FUD5\r"));
    QCOMPARE(f.session.link.TypeReply, QStringLiteral("Q517 TYPE-S24\r"));
    QCOMPARE(f.sent(), f.lines);
    QCOMPARE(f.loader.recordBauds, QList<int>(6, 9600));
    QVERIFY(f.controller.hardwareFlowControl());
    QCOMPARE(f.view.leds, (QList<uint32_t>{0x00FF00, 0x00FF00}));
    QCOMPARE(f.view.now(10, 96), QStringLiteral("CHIP ERASED"));
    QCOMPARE(f.view.now(10, 144), QStringLiteral("Transmit Line:         Bytes:          Addr:"));
    QCOMPARE(f.view.now(SentLinesX, CountersY), QStringLiteral("06"));
    QCOMPARE(f.view.now(SentBytesX, CountersY), QStringLiteral("80"));
    const FakeFlashView::Drawn last = f.view.drawn.last();
    QCOMPARE(last.text, QStringLiteral("DEVICE UPDATED WITH  ") + f.image);
    QCOMPARE(QPoint(last.x, last.y), QPoint(10, 220));
    QCOMPARE(last.style.rgb, 0x0000FFu);
    QCOMPARE(f.view.progress.last(), 100);
    QCOMPARE(f.clock.sleptMs(), 3000);
    QVERIFY(!f.controller.isOpen());
    QCOMPARE(f.view.closed, 1);
    QCOMPARE(f.prompts.busyDepth(), 0);
}

void TestFlashUpdate::fastLoaderSwitchesAfterEnq_data() {
    QTest::addColumn<QByteArray>("noiseBeforeEnq");
    QTest::newRow("ENQ alone") << QByteArray();
    QTest::newRow("noise before ENQ") << QByteArray("\x06xy");
}

void TestFlashUpdate::fastLoaderSwitchesAfterEnq() {
    QFETCH(QByteArray, noiseBeforeEnq);
    Fixture f;
    f.loader.typeReply = "Q517-AVR_M1280-S24\r";
    f.loader.enqAfterMs = 9000;
    f.writeImage(HexImages::Image(3));
    f.controller.onWrite([&](const QByteArray& written, FakeController& c) {
        if (written == ":FUD5\r" && !noiseBeforeEnq.isEmpty())
            c.queue(noiseBeforeEnq, 1);
    });
    QVERIFY(f.run());
    QCOMPARE(f.sent(), f.lines);
    QCOMPARE(f.loader.recordBauds, QList<int>(4, 38400));
}

void TestFlashUpdate::enqNeverComes() {
    Fixture f;
    f.loader.typeReply = "Q517-AVR_M1280-S24\r";
    f.loader.eraseBytes.clear();
    f.writeImage(HexImages::Image(3));
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    f.prompts.expectMessage(QStringLiteral("TIMEOUT SERIAL PORT "));
    const int64_t start = f.clock.nowMs();
    QVERIFY(!f.runWithoutQuestion());
    QVERIFY(f.clock.nowMs() - start >= 10000);
    QVERIFY(f.clock.nowMs() - start < 10100);
    QVERIFY(f.sent().isEmpty());
    QVERIFY(!f.controller.isOpen());
    QCOMPARE(f.view.closed, 1);
}

void TestFlashUpdate::eraseWait_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<bool>("erased");
    QTest::newRow("progress keeps it alive") << QByteArray("......\x06") << 1900 << true;
    QTest::newRow("gap over 2000 ms") << QByteArray("..\x06") << 2100 << false;
    QTest::newRow("ACK just within 5000 ms") << QByteArray("\x06") << 4990 << true;
    QTest::newRow("first character too late") << QByteArray("\x06") << 5100 << false;
    QTest::newRow("no ACK at all") << QByteArray("...") << 100 << false;
}

void TestFlashUpdate::eraseWait() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, pauseMs);
    QFETCH(bool, erased);
    Fixture f;
    f.loader.eraseBytes = bytes;
    f.loader.erasePauseMs = pauseMs;
    f.writeImage(HexImages::Image(2));
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    if (!erased)
        f.prompts.expectMessage(QStringLiteral("TIMEOUT SERIAL PORT "));
    QCOMPARE(f.runWithoutQuestion(), erased);
    QCOMPARE(f.view.now(10, 96), erased ? QStringLiteral("CHIP ERASED") : QString());
    QCOMPARE(f.sent().size(), erased ? 3 : 0);
    QVERIFY(!f.controller.isOpen());
}

void TestFlashUpdate::nakResendsTheSameLine_data() {
    QTest::addColumn<int>("naks");
    QTest::addColumn<bool>("updated");
    QTest::newRow("one NAK") << 1 << true;
    QTest::newRow("nine NAKs, then ACK") << 9 << true;
    QTest::newRow("ten NAKs") << 10 << false;
}

void TestFlashUpdate::nakResendsTheSameLine() {
    QFETCH(int, naks);
    QFETCH(bool, updated);
    Fixture f;
    f.writeImage(HexImages::Image(3));
    // The second line is refused naks times.
    f.loader.answer = [naks](int arrival, const QByteArray&) {
        const bool refused = arrival >= 2 && arrival < 2 + naks;
        return FakeController::bytes(refused ? Nak : Ack, 3);
    };
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    if (!updated)
        f.prompts.expectMessage(QStringLiteral("TIMEOUT SERIAL PORT 1"));
    QCOMPARE(f.runWithoutQuestion(), updated);
    QCOMPARE(f.sent().count(f.lines.at(1)), qMin(naks + 1, 10));
    QCOMPARE(f.sent().count(f.lines.at(0)), 1);
    if (updated) {
        QCOMPARE(f.view.now(SentLinesX, CountersY), QStringLiteral("04"));
        QCOMPARE(f.view.now(SentBytesX, CountersY), QStringLiteral("48"));
        // Every line was counted once, however often it went out.
        QCOMPARE(f.view.at(SentLinesX, CountersY), (QStringList{"01", "02", "03", "04", "04"}));
    } else {
        QVERIFY(!f.sent().contains(f.lines.at(2)));
        QVERIFY(!f.controller.isOpen());
    }
}

void TestFlashUpdate::lineAnswerTimeout_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<bool>("updated");
    QTest::newRow("silence") << QByteArray() << 0 << false;
    QTest::newRow("noise does not extend the wait") << QByteArray("?") << 4000 << false;
    QTest::newRow("ACK after 4990 ms") << Ack << 4990 << true;
    QTest::newRow("ACK after 5100 ms") << Ack << 5100 << false;
}

void TestFlashUpdate::lineAnswerTimeout() {
    QFETCH(QByteArray, answer);
    QFETCH(int, delayMs);
    QFETCH(bool, updated);
    Fixture f;
    f.writeImage(HexImages::Image(1));
    f.loader.answer = [&](int arrival, const QByteArray&) {
        if (arrival == 1)
            return FakeController::bytes(answer, delayMs);
        return FakeController::bytes(Ack, 1);
    };
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    if (!updated)
        f.prompts.expectMessage(QStringLiteral("TIMEOUT SERIAL PORT 1"));
    const int64_t before = f.clock.nowMs();
    QCOMPARE(f.runWithoutQuestion(), updated);
    if (!updated) {
        QCOMPARE(f.sent().size(), 1);
        // Given up within a moment of the 5000 ms, not after some longer wait.
        QVERIFY(f.clock.nowMs() - before < 5000 + 3 * 500 + 200);
    }
}

void TestFlashUpdate::refreshInterval_data() {
    QTest::addColumn<qint64>("lines");
    QTest::addColumn<qint64>("interval");
    QTest::newRow("0") << 0LL << 1LL;
    QTest::newRow("50") << 50LL << 1LL;
    QTest::newRow("149") << 149LL << 1LL;
    QTest::newRow("150") << 150LL << 2LL;
    QTest::newRow("250 rounds to even") << 250LL << 2LL;
    QTest::newRow("251") << 251LL << 3LL;
    QTest::newRow("350 rounds to even") << 350LL << 4LL;
    QTest::newRow("23307") << 23307LL << 233LL;
}

void TestFlashUpdate::refreshInterval() {
    QFETCH(qint64, lines);
    QFETCH(qint64, interval);
    QCOMPARE(FlashUpdate::RefreshInterval(lines), interval);
}

void TestFlashUpdate::countersRefreshed_data() {
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("every");
    QTest::newRow("40 lines: every line") << 40 << 1;
    QTest::newRow("250 lines: every 2") << 250 << 2;
    QTest::newRow("350 lines: every 4") << 350 << 4;
}

void TestFlashUpdate::countersRefreshed() {
    QFETCH(int, lineCount);
    QFETCH(int, every);
    Fixture f;
    f.writeImage(HexImages::Image(lineCount - 1));
    QVERIFY(f.run());
    QStringList expected;
    for (int n = every; n <= lineCount; n += every)
        expected.append(QString::number(n).rightJustified(2, QLatin1Char('0')));
    expected.append(QString::number(lineCount)); // the final values
    QCOMPARE(f.view.at(SentLinesX, CountersY), expected);
    // The address field shows characters 3 to 7 of the line last refreshed.
    const QByteArray lastShown = f.lines.at((lineCount / every) * every - 1);
    QCOMPARE(f.view.now(AddressX, CountersY), QString::fromLatin1(lastShown.mid(2, 5) + "H"));
    // The bar moves only when its percentage changes, and ends at 100.
    for (int i = 1; i < f.view.progress.size(); ++i)
        QVERIFY(f.view.progress.at(i) != f.view.progress.at(i - 1) ||
                i == f.view.progress.size() - 1);
    QCOMPARE(f.view.progress.last(), 100);
    QCOMPARE(f.sent().last(), QByteArray(":00000001FF"));
    QCOMPARE(f.sent().size(), lineCount);
}

void TestFlashUpdate::zeroLengthRecords_data() {
    const QByteArray d1 = HexImages::DataRecord(0xC000, 16), d2 = HexImages::DataRecord(0xC010, 4);
    const QByteArray z1 = HexImages::Record(0x0100, 0, ""), z2 = HexImages::Record(0x0200, 0, "");
    const QByteArray end(":00000001FF");
    QTest::addColumn<QList<QByteArray>>("image");
    QTest::addColumn<QList<QByteArray>>("sent");
    QTest::newRow("one left out") << QList<QByteArray>{d1, z1, d2, end}
                                  << QList<QByteArray>{d1, d2, end};
    QTest::newRow("second of two is sent")
        << QList<QByteArray>{d1, z1, z2, d2, end} << QList<QByteArray>{d1, z2, d2, end};
    QTest::newRow("end record on the last line")
        << QList<QByteArray>{d1, end} << QList<QByteArray>{d1, end};
    QTest::newRow("zero-length before the end record")
        << QList<QByteArray>{d1, z1, end} << QList<QByteArray>{d1, end};
}

void TestFlashUpdate::zeroLengthRecords() {
    QFETCH(QList<QByteArray>, image);
    QFETCH(QList<QByteArray>, sent);
    Fixture f;
    f.writeImage(image);
    QVERIFY(f.run());
    QCOMPARE(f.sent(), sent);
    QCOMPARE(f.view.now(SentLinesX, CountersY),
             QString::number(sent.size()).rightJustified(2, '0'));
}

void TestFlashUpdate::elapsedTime() {
    Fixture f;
    f.writeImage(HexImages::Image(3));
    // Each line takes 1.5 s to be acknowledged.
    f.loader.answer = [](int, const QByteArray&) { return FakeController::bytes(Ack, 1500); };
    QVERIFY(f.run());
    QCOMPARE(f.view.at(TimeX, TimeY),
             (QStringList{"Time:00:00:00", "Time:00:00:01", "Time:00:00:03", "Time:00:00:04"}));
    QCOMPARE(FlashUpdate::ElapsedText(3 * 3600000 + 25 * 60000 + 7999), QStringLiteral("03:25:07"));
}

void TestFlashUpdate::wrongPortLeavesWindowOpen() {
    Fixture f;
    f.writeImage(HexImages::Image(2));
    f.session.options.PortNumber = 7;
    f.prompts.expectMessage(QStringLiteral("WRONG PORT N.7"));
    UpdateRun update(f.session, f.view, f.image);
    update.setPortCheck([](int port) { return port != 7; });
    update.Run();
    QVERIFY(!update.updated());
    QCOMPARE(f.view.closed, 0);
    QCOMPARE(f.controller.opens(), 0);
    QCOMPARE(f.prompts.busyDepth(), 0);
    // The check results stay visible.
    QCOMPARE(f.view.now(140, 36), QStringLiteral("03"));
}

void TestFlashUpdate::operatorSaysNo() {
    Fixture f;
    f.writeImage(HexImages::Image(2));
    QVERIFY(!f.run(Prompts::Answer::No));
    QVERIFY(f.controller.received().isEmpty());
    QVERIFY(!f.controller.isOpen());
    QCOMPARE(f.controller.opens(), 1);
    QCOMPARE(f.view.closed, 1);
}

void TestFlashUpdate::deviceNotReady() {
    // Ready only from the fourth look at the line on.
    struct SlowController : FakeController {
        using FakeController::FakeController;
        mutable int looks = 0;
        bool ctsAsserted() const override { return ++looks >= 4 && isOpen(); }
    };
    for (const bool retryUntilReady : {true, false}) {
        Fixture f;
        SlowController slow(f.clock);
        Session session(f.prompts, f.clock, f.dialog, slow, f.dir.path());
        session.link.DeviceOverride = f.session.link.DeviceOverride;
        f.loader.install(slow);
        f.writeImage(HexImages::Image(1));
        f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
        f.prompts.expectMessage(QStringLiteral("DEVICE NOT READY"), Prompts::Answer::Retry);
        f.prompts.expectMessage(QStringLiteral("DEVICE NOT READY"),
                                retryUntilReady ? Prompts::Answer::Retry : Prompts::Answer::Cancel);
        UpdateRun update(session, f.view, f.image);
        update.setPortCheck([](int) { return true; });
        update.Run();
        QCOMPARE(update.updated(), retryUntilReady);
        const QList<uint32_t> red3{0xFF0000, 0xFF0000, 0xFF0000};
        QCOMPARE(f.view.leds.mid(0, 3), red3);
        QCOMPARE(f.view.leds.size(), retryUntilReady ? 4 : 3);
        QCOMPARE(f.prompts.messages().at(1).buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(f.prompts.messages().at(1).icon, Prompts::Icon::Critical);
        QCOMPARE(slow.received().isEmpty(), !retryUntilReady);
        QVERIFY(!slow.isOpen());
        QCOMPARE(f.view.closed, 1);
    }
}

void TestFlashUpdate::checkFailureSendsNothing_data() {
    QTest::addColumn<QList<QByteArray>>("image");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty image") << QList<QByteArray>{} << QStringLiteral("FILE UNUSABLE");
    QTest::newRow("parity error") << QList<QByteArray>{":00000001FF", ":0300300002337A1e"}
                                  << QStringLiteral("PARITY ERROR IN LINE 2");
    QTest::newRow("line without colon")
        << QList<QByteArray>{"00000001FF"} << QStringLiteral("FILE UNUSABLE");
}

void TestFlashUpdate::checkFailureSendsNothing() {
    QFETCH(QList<QByteArray>, image);
    QFETCH(QString, message);
    Fixture f;
    f.writeImage(image);
    f.prompts.expectMessage(message);
    QVERIFY(!f.runWithoutQuestion());
    QCOMPARE(f.controller.opens(), 0);
    QCOMPARE(f.view.closed, 1);
    QCOMPARE(f.prompts.busyDepth(), 0);
}

void TestFlashUpdate::lineChangedSinceTheCheck() {
    Fixture f;
    f.writeImage({HexImages::DataRecord(0, 16), ":0300300002337A1F", ":00000001FF"});
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    f.prompts.expectMessage(QStringLiteral("FILE UNUSABLE"));
    FlashUpdate update(f.session, f.view, f.image, 3);
    update.setPortCheck([](int) { return true; });
    QCOMPARE(update.Run(), FlashUpdate::Outcome::Abandoned);
    QCOMPARE(f.sent(), QList<QByteArray>{f.lines.first()});
    QVERIFY(!f.controller.isOpen());
}

QTEST_GUILESS_MAIN(TestFlashUpdate)
#include "tst_flashupdate.moc"
