#include "link/FrameAssembler.h"
#include "link/LineAssembler.h"

#include <QTest>

namespace {
// The frame of "END": STX E N D ETX and the block check 'L' (0x45^0x4E^0x44^0x03 = 0x4C).
const QByteArray kEndFrame = QByteArray::fromHex("02454E44034C");

// Every result but More, in order, with what came with it: "F:text", "B:raw", "L:raw",
// "N:skipped".
QStringList frameEvents(const QByteArray& stream) {
    FrameAssembler assembler;
    QStringList events;
    for (const char c : stream) {
        switch (assembler.feed(uint8_t(c))) {
        case FrameAssembler::Result::More:
            break;
        case FrameAssembler::Result::Frame:
            events << QStringLiteral("F:") + QString::fromLatin1(assembler.text());
            break;
        case FrameAssembler::Result::BadCheck:
            events << QStringLiteral("B:") + QString::fromLatin1(assembler.raw().toHex());
            break;
        case FrameAssembler::Result::TooLong:
            events << QStringLiteral("L:%1").arg(assembler.raw().size());
            break;
        case FrameAssembler::Result::NoFrame:
            events << QStringLiteral("N:%1").arg(assembler.skipped());
            break;
        }
    }
    return events;
}

QStringList lineEvents(const QByteArray& stream) {
    LineAssembler assembler;
    QStringList events;
    for (const char c : stream) {
        switch (assembler.feed(uint8_t(c))) {
        case LineAssembler::Result::More:
            break;
        case LineAssembler::Result::Line:
            events << QStringLiteral("L:") + QString::fromLatin1(assembler.line().chopped(1));
            break;
        case LineAssembler::Result::TooLong:
            events << QStringLiteral("T:%1").arg(assembler.line().size());
            break;
        }
    }
    return events;
}
} // namespace

class TestAssemblers : public QObject {
    Q_OBJECT

private slots:
    void frames_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("one frame") << kEndFrame << QStringList{"F:END"};
        QTest::newRow("two back to back")
            << kEndFrame + QByteArray::fromHex("0246303103") + "D" + kEndFrame
            << QStringList{"F:END", "F:F01", "F:END"};
        QTest::newRow("junk before STX") << "XY\r\x06" + kEndFrame << QStringList{"F:END"};
        QTest::newRow("NUL inside dropped")
            << QByteArray::fromHex("0245004E4400034C") << QStringList{"F:END"};
        QTest::newRow("bad check kept as it came")
            << QByteArray::fromHex("02454E44034D") + kEndFrame
            << QStringList{"B:02454e44034d", "F:END"};
        // A check below 32 is raised by 32 so it is never taken for STX or ETX.
        QTest::newRow("low check raised")
            << QByteArray::fromHex("02010322") << QStringList{"F:\x01"};
        QTest::newRow("ETX as the first text byte ends the text")
            << QByteArray::fromHex("020323") << QStringList{"F:"};
        QTest::newRow("cut before the check") << kEndFrame.left(5) << QStringList{};
        QTest::newRow("4096 bytes is still a frame")
            << "\x02" + QByteArray(4093, 'A') + "\x03" + 'B'
            << QStringList{"F:" + QString(4093, QLatin1Char('A'))};
        QTest::newRow("endless stream after STX")
            << "\x02" + QByteArray(5000, 'A') + kEndFrame << QStringList{"L:4097", "F:END"};
        // Garbage that never begins a frame is a broken line, not a wait without end.
        QTest::newRow("4096 bytes before STX are skipped")
            << QByteArray(4096, 'A') + kEndFrame << QStringList{"F:END"};
        QTest::newRow("garbage flood") << QByteArray(4097, 'A') + kEndFrame
                                       << QStringList{"N:4097", "F:END"};
        QTest::newRow("NULs are no garbage") << QByteArray(9000, '\0') + kEndFrame
                                             << QStringList{"F:END"};
    }
    void frames() {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, events);
        QCOMPARE(frameEvents(stream), events);
    }

    void lines_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("reply") << QByteArray("24 28 ITALY-X\r") << QStringList{"L:24 28 ITALY-X"};
        QTest::newRow("two lines, NUL dropped")
            << QByteArray("?M8C\r\0?T93\r", 11) << QStringList{"L:?M8C", "L:?T93"};
        QTest::newRow("no CR yet") << QByteArray("?M8C") << QStringList{};
        QTest::newRow("4096 with CR")
            << QByteArray(4095, 'a') + '\r' << QStringList{"L:" + QString(4095, QLatin1Char('a'))};
        QTest::newRow("endless line")
            << QByteArray(4097, 'a') + "\r?M8C\r" << QStringList{"T:4097", "L:", "L:?M8C"};
    }
    void lines() {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, events);
        QCOMPARE(lineEvents(stream), events);
    }

    void resetForgetsAFrameBegun() {
        FrameAssembler assembler;
        for (const char c : kEndFrame.left(3))
            assembler.feed(uint8_t(c));
        assembler.reset();
        QStringList events;
        for (const char c : QByteArray("ND\x03L") + kEndFrame) {
            if (assembler.feed(uint8_t(c)) == FrameAssembler::Result::Frame)
                events << QString::fromLatin1(assembler.text());
        }
        QCOMPARE(events, QStringList{"END"});
        QCOMPARE(assembler.skipped(), 4);
    }
};

QTEST_APPLESS_MAIN(TestAssemblers)
#include "tst_assemblers.moc"
