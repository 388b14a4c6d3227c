#include "link/LineCodec.h"

#include <QTest>

// The byte forms on the line are written out here as the controller expects them, never
// taken from the code under test.
class TestLineCodec : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("identify") << QByteArray("?M") << QByteArray("?M8C\r");
        QTest::newRow("type") << QByteArray("?T") << QByteArray("?T93\r");
        QTest::newRow("flash update") << QByteArray(":FU") << QByteArray(":FUD5\r");
        // 3F+46+52+58 = 12F: only the last two digits travel.
        QTest::newRow("sum above FF") << QByteArray("?FRX") << QByteArray("?FRX2F\r");
        // A sum below 16 is one digit, without a leading zero.
        QTest::newRow("one digit") << QByteArray("\x05\x06")
                                   << QByteArray("\x05\x06"
                                                 "B\r");
        QTest::newRow("two digits upper case") << QByteArray("Z") << QByteArray("Z5A\r");
    }
    void commandLine() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, sent);
        QByteArray inOut = command;
        const QByteArray result = AppendLineChecksum(inOut);
        QCOMPARE(result, sent);
        QCOMPARE(inOut, sent);
    }

    void transferCommand_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("read all") << QByteArray("?FR") << QByteArray::fromHex("3F4652D70D");
        QTest::newRow("write all") << QByteArray("?FW") << QByteArray::fromHex("3F4657DC0D");
        // A sum below 20h is raised by 20h: 10h goes out as 30h.
        QTest::newRow("below 20h") << QByteArray("\x10") << QByteArray::fromHex("10300D");
        QTest::newRow("exactly 20h") << QByteArray("\x20") << QByteArray::fromHex("20200D");
    }
    void transferCommand() {
        QFETCH(QByteArray, command);
        QFETCH(QByteArray, sent);
        QCOMPARE(command + CommandCheckChar(command) + '\r', sent);
        QCOMPARE(LineCodec::TransferCommand(command), sent);
    }

    void frame_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("END") << QByteArray("END") << QByteArray::fromHex("02454E44034C");
        QTest::newRow("format header") << QByteArray("F07") << QByteArray::fromHex("024630370342");
        // 41h xor 42h xor 03h = 00h: raised to 20h.
        QTest::newRow("check below 20h") << QByteArray("AB") << QByteArray::fromHex("0241420320");
        // 1Fh xor 03h = 1Ch: raised to 3Ch.
        QTest::newRow("check 1Ch") << QByteArray("\x1F") << QByteArray::fromHex("021F033C");
        // 1Ch xor 03h = 1Fh, the last value that is raised.
        QTest::newRow("check 1Fh") << QByteArray("\x1C") << QByteArray::fromHex("021C033F");
        QTest::newRow("empty text") << QByteArray() << QByteArray::fromHex("020323");
    }
    void frame() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, frame);
        QCOMPARE(LineCodec::BuildFrame(text), frame);
        QCOMPARE(FrameCheckChar(frame.left(frame.size() - 1)),
                 int(static_cast<unsigned char>(frame.back())));
        QByteArray parsed("unchanged");
        QVERIFY(LineCodec::ParseFrame(frame, &parsed));
        QCOMPARE(parsed, text);
    }

    void frameCheckNeverControlCharacter() {
        // Whatever the text, the block check can never be read as STX or ETX.
        for (int a = 0; a < 256; ++a) {
            const QByteArray frame = LineCodec::BuildFrame(QByteArray(1, char(a)));
            QVERIFY(static_cast<unsigned char>(frame.back()) >= 0x20);
        }
    }

    void parseFrameRejects_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wrong check") << QByteArray::fromHex("02454E44034D");
        QTest::newRow("no STX") << QByteArray::fromHex("454E44034C");
        QTest::newRow("no ETX") << QByteArray::fromHex("02454E444C");
        QTest::newRow("too short") << QByteArray::fromHex("0203");
        QTest::newRow("two ETX") << QByteArray::fromHex("024503460320");
        QTest::newRow("empty") << QByteArray();
    }
    void parseFrameRejects() {
        QFETCH(QByteArray, bytes);
        QByteArray text("unchanged");
        QVERIFY(!LineCodec::ParseFrame(bytes, &text));
        QCOMPARE(text, QByteArray("unchanged"));
    }
};

QTEST_APPLESS_MAIN(TestLineCodec)
#include "tst_linecodec.moc"
