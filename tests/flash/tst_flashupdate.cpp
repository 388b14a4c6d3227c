#include "flash/FlashUpdate.h"
#include "flash/UpdateRun.h"
#include "support/EnglishTexts.h"

#include "support/FakeClock.h"
#include "support/FakeCommonDialog.h"
#include "support/FakeController.h"
#include "support/FakePrompts.h"
#include "support/FlashControllerScript.h"
#include "support/HexImages.h"
#include "support/RecordingProgressObserver.h"

#include "shell/Session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray Ack(1, '\x06');
const QByteArray Nak(1, '\x15');
using FlashPhase = ProgressObserver::Phase;

// One update run against a scripted controller, all on a fake clock.
struct Fixture {
    FakeClock clock;
    FakePrompts prompts;
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    QTemporaryDir dir;
    FakeController controller{clock};
    Session session{prompts, clock, dialog, controller, dir.path()};
    const bool inEnglish = SpeakEnglish(session);
    FlashControllerScript loader;
    RecordingProgressObserver progress;
    QString image;
    QList<QByteArray> lines;

    Fixture() {
        // The port is a file that exists; the controller plays the device.
        session.link.state.DeviceOverride = dir.filePath(QStringLiteral("tty"));
        QFile(session.link.state.DeviceOverride).open(QIODevice::WriteOnly);
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
        UpdateRun update(session.linkContext(), progress, image);
        return update.Run();
    }
    // The line as port n of the port map instead of a device path.
    void usePort(int n) {
        QDir(dir.path()).mkpath(QStringLiteral("ports"));
        QFile::link(session.link.state.DeviceOverride,
                    dir.filePath(QStringLiteral("ports/COM%1").arg(n)));
        session.link.state.DeviceOverride.clear();
        session.options.PortNumber = int16_t(n);
    }
    QString lastEvent() const { return progress.events.value(progress.events.size() - 1); }
    // The lines the controller received after ":FUD5".
    const QList<QByteArray>& sent() const { return loader.records; }
};
} // namespace

class TestFlashUpdate : public QObject {
    Q_OBJECT
private slots:
    void goodImageReportsEveryStep();
    void fastLoaderSwitchesAfterEnq_data();
    void fastLoaderSwitchesAfterEnq();
    void enqNeverComes();
    void eraseWait_data();
    void eraseWait();
    void nakResendsTheSameLine_data();
    void nakResendsTheSameLine();
    void hangUpEndsAtOnce();
    void lineAnswerTimeout_data();
    void lineAnswerTimeout();
    void refreshInterval_data();
    void refreshInterval();
    void countersRefreshed_data();
    void countersRefreshed();
    void zeroLengthRecords_data();
    void zeroLengthRecords();
    void elapsedTime();
    void wrongPortTouchesNothing();
    void operatorSaysNo();
    void deviceNotReady();
    void checkFailureSendsNothing_data();
    void checkFailureSendsNothing();
    void lineChangedSinceTheCheck();
};

void TestFlashUpdate::goodImageReportsEveryStep() {
    Fixture f;
    f.writeImage(HexImages::Image(5));
    QVERIFY(f.run());
    // The type is asked, then the update mode entered, both as checksummed command lines.
    QVERIFY(f.controller.received().startsWith("?T93\r:FUD5\r"));
    QCOMPARE(f.session.link.state.TypeReply, QStringLiteral("Q517 TYPE-S24\r"));
    QCOMPARE(f.sent(), f.lines);
    QCOMPARE(f.loader.recordBauds, QList<int>(6, 9600));
    QVERIFY(f.controller.hardwareFlowControl());
    const QStringList expected{
        QStringLiteral("file %1 %2").arg(f.image).arg(QFileInfo(f.image).size()),
        "phase Checking",
        "counted line=6 bytes=80",
        "phase Connecting",
        "ready", // before the question
        "ready", // before the update mode
        "phase Erasing",
        "erased",
        "phase Transmitting",
        // Counted once the controller acknowledged the line; 100 only for the last one.
        "counted line=1 bytes=16 addr=0x0 pct=16",
        "counted line=2 bytes=32 addr=0x10 pct=33",
        "counted line=3 bytes=48 addr=0x20 pct=50",
        "counted line=4 bytes=64 addr=0x30 pct=66",
        "counted line=5 bytes=80 addr=0x40 pct=83",
        "counted line=6 bytes=80 addr=0x0 pct=100",
        "done",
    };
    QCOMPARE(f.progress.events, expected);
    // The result stays on screen in the window, not in the exchange.
    QCOMPARE(f.clock.sleptMs(), 0);
    QVERIFY(!f.controller.isOpen());
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
    const int64_t start = f.clock.nowMs();
    QVERIFY(!f.run());
    QVERIFY(f.clock.nowMs() - start >= 10000);
    QVERIFY(f.clock.nowMs() - start < 10100);
    QCOMPARE(f.lastEvent(), QStringLiteral("refused TIMEOUT SERIAL PORT "));
    QVERIFY(!f.progress.events.contains(QStringLiteral("phase Erasing")));
    QVERIFY(f.sent().isEmpty());
    QVERIFY(!f.controller.isOpen());
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
    // Progress for ever must not keep the window: the erase is over within 60 s.
    QTest::newRow("erase flood") << QByteArray(100, '.') + '\x06' << 1000 << false;
}

void TestFlashUpdate::eraseWait() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, pauseMs);
    QFETCH(bool, erased);
    Fixture f;
    f.loader.eraseBytes = bytes;
    f.loader.erasePauseMs = pauseMs;
    f.writeImage(HexImages::Image(2));
    QCOMPARE(f.run(), erased);
    QCOMPARE(f.progress.events.contains(QStringLiteral("erased")), erased);
    QCOMPARE(f.lastEvent(),
             erased ? QStringLiteral("done") : QStringLiteral("refused TIMEOUT SERIAL PORT "));
    QCOMPARE(f.sent().size(), erased ? 3 : 0);
    QVERIFY(!f.controller.isOpen());
    // The window repaints while the erase goes on.
    QVERIFY(f.progress.waits > 0);
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
    f.usePort(7);
    f.writeImage(HexImages::Image(3));
    // The second line is refused naks times.
    f.loader.answer = [naks](int arrival, const QByteArray&) {
        const bool refused = arrival >= 2 && arrival < 2 + naks;
        return FakeController::bytes(refused ? Nak : Ack, 3);
    };
    QCOMPARE(f.run(), updated);
    QCOMPARE(f.sent().count(f.lines.at(1)), qMin(naks + 1, 10));
    QCOMPARE(f.sent().count(f.lines.at(0)), 1);
    if (updated) {
        // Every line was counted once, however often it went out.
        QCOMPARE(f.progress.linesIn(FlashPhase::Transmitting), (QList<qint64>{1, 2, 3, 4}));
    } else {
        QCOMPARE(f.progress.linesIn(FlashPhase::Transmitting), QList<qint64>{1});
        // The time-out names the port the update used.
        QCOMPARE(f.lastEvent(), QStringLiteral("refused TIMEOUT SERIAL PORT 7"));
        QCOMPARE(f.progress.refusal.number, 2);
        QVERIFY(!f.sent().contains(f.lines.at(2)));
        QVERIFY(!f.controller.isOpen());
    }
}

void TestFlashUpdate::hangUpEndsAtOnce() {
    Fixture f;
    f.writeImage(HexImages::Image(5));
    int64_t hungUpAt = 0;
    // The controller goes away while its third line is on the way.
    f.loader.answer = [&](int arrival, const QByteArray&) {
        if (arrival < 3)
            return FakeController::bytes(Ack, 2);
        hungUpAt = f.clock.nowMs();
        f.controller.hangUp(QStringLiteral("the device hung up"));
        return FakeController::bytes(QByteArray());
    };
    QVERIFY(!f.run());
    QCOMPARE(f.progress.refusal.cause, Refusal::Cause::LineLost);
    QVERIFY2(f.progress.refusal.text(EnglishTexts()).contains(QStringLiteral("the device hung up")),
             qPrintable(f.progress.refusal.text(EnglishTexts())));
    // Given up at once, not after the 5000 ms answer time, and the line is not sent again.
    QVERIFY(f.clock.nowMs() - hungUpAt < 100);
    QCOMPARE(f.sent().size(), 3);
    QCOMPARE(f.progress.linesIn(FlashPhase::Transmitting), (QList<qint64>{1, 2}));
    QVERIFY(!f.controller.isOpen());
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
    const int64_t before = f.clock.nowMs();
    QCOMPARE(f.run(), updated);
    if (!updated) {
        QCOMPARE(f.sent().size(), 1);
        QCOMPARE(f.lastEvent(), QStringLiteral("refused TIMEOUT SERIAL PORT "));
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
    QList<qint64> expected;
    for (int n = every; n <= lineCount; n += every)
        expected.append(n);
    if (expected.last() != lineCount)
        expected.append(lineCount); // the final values
    QCOMPARE(f.progress.linesIn(FlashPhase::Transmitting), expected);
    // The check counts every tenth line and once at its end.
    QCOMPARE(f.progress.linesIn(FlashPhase::Checking).size(), lineCount / 10 + 1);
    // Each report carries the address of the line just acknowledged.
    const auto& [phase, first] = f.progress.counts.at(f.progress.counts.size() - expected.size());
    QCOMPARE(phase, FlashPhase::Transmitting);
    QCOMPARE(first.address, qint64(((every - 1) * 16) & 0xFFFF));
    // The percentage grows and reaches 100 only at the end.
    int before = -1;
    for (qsizetype i = f.progress.counts.size() - expected.size(); i < f.progress.counts.size();
         ++i) {
        const int percent = f.progress.counts.at(i).second.percent;
        QVERIFY(percent >= before);
        QCOMPARE(percent == 100, i == f.progress.counts.size() - 1);
        before = percent;
    }
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
    QCOMPARE(f.progress.linesIn(FlashPhase::Transmitting).last(), sent.size());
}

void TestFlashUpdate::elapsedTime() {
    Fixture f;
    f.writeImage(HexImages::Image(3));
    // Each line takes 1.5 s to be acknowledged.
    f.loader.answer = [](int, const QByteArray&) { return FakeController::bytes(Ack, 1500); };
    QVERIFY(f.run());
    QStringList shown;
    for (int64_t ms : std::as_const(f.progress.elapsed))
        shown.append(FlashUpdate::ElapsedText(ms));
    QCOMPARE(shown, (QStringList{"00:00:01", "00:00:03", "00:00:04", "00:00:06"}));
    QCOMPARE(FlashUpdate::ElapsedText(3 * 3600000 + 25 * 60000 + 7999), QStringLiteral("03:25:07"));
}

void TestFlashUpdate::wrongPortTouchesNothing() {
    Fixture f;
    f.writeImage(HexImages::Image(2));
    f.session.options.PortNumber = 7;
    f.session.link.state.DeviceOverride = f.dir.filePath(QStringLiteral("gone"));
    QVERIFY(!f.runWithoutQuestion());
    QCOMPARE(f.lastEvent(), QStringLiteral("refused WRONG PORT N.7"));
    QCOMPARE(f.controller.opens(), 0);
    QCOMPARE(f.prompts.busyDepth(), 0);
    // The check went through before.
    QCOMPARE(f.progress.linesIn(FlashPhase::Checking), QList<qint64>{3});
}

void TestFlashUpdate::operatorSaysNo() {
    Fixture f;
    f.writeImage(HexImages::Image(2));
    QVERIFY(!f.run(Prompts::Answer::No));
    QCOMPARE(f.lastEvent(), QStringLiteral("refused by the operator"));
    QVERIFY(f.controller.received().isEmpty());
    QVERIFY(!f.controller.isOpen());
    QCOMPARE(f.controller.opens(), 1);
}

void TestFlashUpdate::deviceNotReady() {
    // Ready only from the fourth look at the line on.
    struct SlowController : FakeController {
        using FakeController::FakeController;
        mutable int looks = 0;
        // The opening of the port looks once, then the update three times while not ready.
        bool ctsAsserted() const override { return ++looks >= 5 && isOpen(); }
    };
    for (const bool retryUntilReady : {true, false}) {
        Fixture f;
        SlowController slow(f.clock);
        Session session(f.prompts, f.clock, f.dialog, slow, f.dir.path());
        SpeakEnglish(session);
        session.link.state.DeviceOverride = f.session.link.state.DeviceOverride;
        f.loader.install(slow);
        f.writeImage(HexImages::Image(1));
        f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
        f.prompts.expectMessage(QStringLiteral("DEVICE NOT READY"), Prompts::Answer::Retry);
        f.prompts.expectMessage(QStringLiteral("DEVICE NOT READY"),
                                retryUntilReady ? Prompts::Answer::Retry : Prompts::Answer::Cancel);
        UpdateRun update(session.linkContext(), f.progress, f.image);
        QCOMPARE(update.Run(), retryUntilReady);
        QStringList looks;
        for (const QString& event : std::as_const(f.progress.events)) {
            if (event.endsWith(QLatin1String("ready")))
                looks.append(event);
        }
        QStringList expected(3, QStringLiteral("not ready"));
        if (retryUntilReady)
            expected.append(QStringLiteral("ready"));
        QCOMPARE(looks, expected);
        QCOMPARE(f.prompts.messages().at(1).buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(f.prompts.messages().at(1).icon, Prompts::Icon::Critical);
        QCOMPARE(slow.received().isEmpty(), !retryUntilReady);
        QCOMPARE(f.lastEvent(), retryUntilReady ? QStringLiteral("done")
                                                : QStringLiteral("refused by the operator"));
        QVERIFY(!slow.isOpen());
    }
}

void TestFlashUpdate::checkFailureSendsNothing_data() {
    QTest::addColumn<QList<QByteArray>>("image");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("empty image") << QList<QByteArray>{} << QStringLiteral("FILE UNUSABLE");
    QTest::newRow("parity error") << QList<QByteArray>{":00000001FF", ":0300300002337A1e"}
                                  << QStringLiteral("PARITY ERROR IN LINE 2");
    QTest::newRow("line without colon")
        << QList<QByteArray>{HexImages::DataRecord(0, 16), "00000001FF"}
        << QStringLiteral("FILE UNUSABLE");
}

void TestFlashUpdate::checkFailureSendsNothing() {
    QFETCH(QList<QByteArray>, image);
    QFETCH(QString, refusal);
    Fixture f;
    f.writeImage(image);
    QVERIFY(!f.runWithoutQuestion());
    QCOMPARE(f.progress.events.mid(1),
             (QStringList{"phase Checking", QStringLiteral("refused ") + refusal}));
    QCOMPARE(f.controller.opens(), 0);
    QCOMPARE(f.prompts.busyDepth(), 0);
}

void TestFlashUpdate::lineChangedSinceTheCheck() {
    Fixture f;
    f.writeImage({HexImages::DataRecord(0, 16), ":0300300002337A1F", ":00000001FF"});
    f.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    FlashUpdate update(f.session.linkContext(), f.progress, f.image, 3);
    QVERIFY(!update.Run());
    QCOMPARE(f.lastEvent(), QStringLiteral("refused FILE UNUSABLE"));
    QCOMPARE(f.progress.refusal.number, 2);
    QCOMPARE(f.sent(), QList<QByteArray>{f.lines.first()});
    QVERIFY(!f.controller.isOpen());
}

QTEST_GUILESS_MAIN(TestFlashUpdate)
#include "tst_flashupdate.moc"
