#include "link/ControllerLink.h"
#include "support/EnglishTexts.h"
#include "support/FakeController.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestControllerLink : public QObject {
    Q_OBJECT

    struct Fixture {
        QTemporaryDir dir;
        FakeClock clock;
        FakeController controller{clock};
        ControllerLink link{controller, clock, dir.path(), EnglishTexts()};
        // A device file that exists; the controller plays it.
        QString device(const QString& name = QStringLiteral("tty")) {
            const QString path = dir.filePath(name);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            return path;
        }
    };

private slots:
    void readEndsOnByteSilenceOrBrokenLine_data() {
        QTest::addColumn<QByteArray>("queued");
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<QString>("hangUp");
        QTest::addColumn<int>("hangUpAtMs");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("elapsedMs");
        QTest::newRow("byte in time")
            << QByteArray("A") << 2999 << "" << 0 << int(LinkRead::Byte) << 2999;
        QTest::newRow("byte too late")
            << QByteArray("A") << 3001 << "" << 0 << int(LinkRead::Silent) << 3000;
        QTest::newRow("silence") << QByteArray() << 0 << "" << 0 << int(LinkRead::Silent) << 3000;
        // A line that is gone ends the wait at once, not at the deadline.
        QTest::newRow("hung up") << QByteArray() << 0 << "Input/output error" << 0
                                 << int(LinkRead::Broken) << 0;
        QTest::newRow("hung up in the middle of the wait")
            << QByteArray() << 0 << "the line hung up" << 1234 << int(LinkRead::Broken) << 1234;
    }
    void readEndsOnByteSilenceOrBrokenLine() {
        QFETCH(QByteArray, queued);
        QFETCH(int, delayMs);
        QFETCH(QString, hangUp);
        QFETCH(int, hangUpAtMs);
        QFETCH(int, kind);
        QFETCH(int, elapsedMs);
        // The same whether the wait is one block or slices with a window repainting between.
        for (const bool sliced : {false, true}) {
            Fixture f;
            QVERIFY(f.link.open(f.device(), 9600).ready());
            const int64_t start = f.clock.nowMs();
            if (!queued.isEmpty())
                f.controller.queue(queued, delayMs);
            if (!hangUp.isEmpty())
                f.controller.hangUpAt(start + hangUpAtMs, hangUp);
            const LinkRead got =
                sliced ? f.link.read(start + 3000, [] {}) : f.link.read(start + 3000);
            QCOMPARE(int(got.kind), kind);
            QCOMPARE(f.clock.nowMs() - start, int64_t(elapsedMs));
            if (got.gotByte())
                QCOMPARE(got.byte, uint8_t('A'));
            QCOMPARE(f.link.brokenCause(), hangUp);
        }
    }

    void bytesBeforeAHangUpStillArrive() {
        Fixture f;
        QVERIFY(f.link.open(f.device(), 9600).ready());
        f.controller.queue(QByteArray("OK"));
        f.controller.hangUp(QStringLiteral("hung up"));
        QCOMPARE(f.link.read(f.clock.nowMs() + 10).byte, uint8_t('O'));
        QCOMPARE(f.link.read(f.clock.nowMs() + 10).byte, uint8_t('K'));
        QCOMPARE(f.link.read(f.clock.nowMs() + 10).kind, LinkRead::Broken);
    }

    void readOnAClosedLineIsBroken() {
        Fixture f;
        const int64_t start = f.clock.nowMs();
        QCOMPARE(f.link.read(start + 3000).kind, LinkRead::Broken);
        QCOMPARE(f.clock.nowMs(), start);
        QVERIFY(!f.link.brokenCause().isEmpty());
    }

    void slicedReadRunsTheHookBetweenSlices() {
        Fixture f;
        QVERIFY(f.link.open(f.device(), 9600).ready());
        int slices = 0;
        const int64_t start = f.clock.nowMs();
        QCOMPARE(f.link.read(start + 3000, [&slices] { ++slices; }).kind, LinkRead::Silent);
        QCOMPARE(slices, 3000 / 50);
        QCOMPARE(f.clock.nowMs() - start, int64_t(3000));
    }

    void openTakesPortNumbersThroughThePortMap() {
        Fixture f;
        QCOMPARE(f.link.open(0, 9600).status, LinkStatus::NoSuchPort);
        QCOMPARE(f.controller.opens(), 0);
        QDir(f.dir.path()).mkpath(QStringLiteral("ports"));
        const QString portLink = f.dir.filePath(QStringLiteral("ports/COM5"));
        QVERIFY(QFile::link(f.device(), portLink));
        const LinkOpening opening = f.link.open(5, 38400);
        QVERIFY(opening.ready());
        QCOMPARE(opening.device, portLink);
        QCOMPARE(f.controller.openedDevice(), portLink);
        QCOMPARE(f.controller.baudRate(), 38400);
        QVERIFY(f.controller.hardwareFlowControl());
    }

    void openingAnotherDeviceClosesTheOldOne() {
        Fixture f;
        QVERIFY(f.link.open(f.device(QStringLiteral("one")), 9600).ready());
        QVERIFY(f.link.open(f.device(QStringLiteral("two")), 9600).ready());
        QCOMPARE(f.controller.closes(), 1);
        QCOMPARE(f.controller.openedDevice(), f.dir.filePath(QStringLiteral("two")));
        QCOMPARE(f.link.device(), f.dir.filePath(QStringLiteral("two")));
    }

    void notReadyLeavesThePortOpen() {
        Fixture f;
        f.controller.setCts(false);
        const LinkOpening opening = f.link.open(f.device(), 9600);
        QCOMPARE(opening.status, LinkStatus::NotReady);
        QVERIFY(opening.opened());
        QVERIFY(f.link.isOpen());
        QVERIFY(LinkStatusText(opening).startsWith(f.dir.filePath(QStringLiteral("tty"))));
        f.link.close();
        QVERIFY(!f.controller.isOpen());
    }

    void sendWritesTheBytes() {
        Fixture f;
        QVERIFY(!f.link.send("?M8C\r"));
        QVERIFY(f.link.open(f.device(), 9600).ready());
        QVERIFY(f.link.send("?M8C\r"));
        QCOMPARE(f.controller.received(), QByteArray("?M8C\r"));
    }
};

QTEST_APPLESS_MAIN(TestControllerLink)
#include "tst_controllerlink.moc"
