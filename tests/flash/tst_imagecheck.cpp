#include "flash/ImageCheck.h"
#include "support/EnglishTexts.h"

#include "support/HexImages.h"

#include <QTemporaryDir>
#include <QTest>

using HexImages::Record;

namespace {
QByteArray Tag(const QByteArray& text, int offset = 0x0600) {
    return Record(offset, 0, text);
}
QByteArray Segment(int upper) {
    return Record(0, 4, QByteArray(1, char(upper >> 8)) + QByteArray(1, char(upper & 0xFF)));
}
} // namespace

class TestImageCheck : public QObject {
    Q_OBJECT
private slots:
    void outcomes_data();
    void outcomes();
    void countersAtEveryTenthLineAndAtTheEnd_data();
    void countersAtEveryTenthLineAndAtTheEnd();
    void lineEnds_data();
    void lineEnds();
    void missingFileIsUnusable();
    void counterText();

private:
    QTemporaryDir dir_;
};

void TestImageCheck::outcomes_data() {
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<qint64>("lineCount");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QByteArray>("tag");

    QTest::newRow("end record only")
        << QList<QByteArray>{":00000001FF"} << QString() << 1LL << 0LL << QByteArray();
    QTest::newRow("empty file refused")
        << QList<QByteArray>{} << QString("FILE UNUSABLE") << 0LL << 0LL << QByteArray();
    QTest::newRow("upper-case checksum passes")
        << QList<QByteArray>{":0300300002337A1E"} << QString() << 1LL << 3LL << QByteArray();
    QTest::newRow("lower-case checksum fails at line 1")
        << QList<QByteArray>{":0300300002337A1e", ":00000001FF"}
        << QString("PARITY ERROR IN LINE 1") << 1LL << 0LL << QByteArray();
    QTest::newRow("wrong checksum at line 3")
        << QList<QByteArray>{HexImages::DataRecord(0, 16), HexImages::DataRecord(16, 16),
                             ":0300300002337A1F", ":00000001FF"}
        << QString("PARITY ERROR IN LINE 3") << 3LL << 32LL << QByteArray();
    QTest::newRow("damaged digit with matching sum")
        << QList<QByteArray>{":03003000G2337A1E"} << QString("PARITY ERROR IN LINE 1") << 1LL << 0LL
        << QByteArray();
    QTest::newRow("short line") << QList<QByteArray>{":00"} << QString("PARITY ERROR IN LINE 1")
                                << 1LL << 0LL << QByteArray();
    QTest::newRow("empty line") << QList<QByteArray>{":00000001FF", "", ":00000001FF"}
                                << QString("FILE UNUSABLE") << 1LL << 0LL << QByteArray();
    QTest::newRow("no colon") << QList<QByteArray>{"00000001FF"} << QString("FILE UNUSABLE") << 0LL
                              << 0LL << QByteArray();
    QTest::newRow("tag in one record")
        << QList<QByteArray>{HexImages::DataRecord(0, 16), Tag("4F21A703/15/2010"), ":00000001FF"}
        << QString() << 3LL << 32LL << QByteArray("4F21A703/15/2010");
    QTest::newRow("tag records in two segments, in file order")
        << QList<QByteArray>{Tag("4F21A703"), Segment(0x1000), Tag("/15/2010"), ":00000001FF"}
        << QString() << 4LL << 18LL << QByteArray("4F21A703/15/2010");
    QTest::newRow("record at 0600 of another type is no tag")
        << QList<QByteArray>{Record(0x0600, 3, "ABCD"), ":00000001FF"} << QString() << 2LL << 4LL
        << QByteArray();
    QTest::newRow("eight characters") << QList<QByteArray>{Tag("ABCDEF05"), ":00000001FF"}
                                      << QString() << 2LL << 8LL << QByteArray("ABCDEF05");
}

void TestImageCheck::outcomes() {
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QString, failure);
    QFETCH(qint64, lineCount);
    QFETCH(qint64, bytes);
    QFETCH(QByteArray, tag);
    const QString path = dir_.filePath(QStringLiteral("image.hex"));
    QVERIFY(HexImages::Write(path, lines));
    const ImageCheckResult result = CheckImage(path);
    QCOMPARE(result.failureText(EnglishTexts()), failure);
    QCOMPARE(result.passed(), failure.isEmpty());
    QCOMPARE(result.lines, lineCount);
    if (result.passed()) {
        QCOMPARE(result.bytes, bytes);
        QCOMPARE(result.tag, tag);
    }
}

void TestImageCheck::countersAtEveryTenthLineAndAtTheEnd_data() {
    QTest::addColumn<int>("dataLines");
    QTest::addColumn<QList<qint64>>("shownLines");
    QTest::newRow("35 lines") << 34 << QList<qint64>{10, 20, 30, 35};
    QTest::newRow("9 lines") << 8 << QList<qint64>{9};
    QTest::newRow("20 lines") << 19 << QList<qint64>{10, 20, 20};
}

void TestImageCheck::countersAtEveryTenthLineAndAtTheEnd() {
    QFETCH(int, dataLines);
    QFETCH(QList<qint64>, shownLines);
    const QString path = dir_.filePath(QStringLiteral("counted.hex"));
    QVERIFY(HexImages::Write(path, HexImages::Image(dataLines)));
    QList<qint64> lines, bytes;
    const ImageCheckResult result = CheckImage(path, [&](qint64 line, qint64 total) {
        lines.append(line);
        bytes.append(total);
    });
    QVERIFY(result.passed());
    QCOMPARE(lines, shownLines);
    // Every data line holds 16 bytes; the end record none.
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(bytes.at(i), qMin<qint64>(lines.at(i), dataLines) * 16);
}

void TestImageCheck::lineEnds_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR LF") << QByteArray("\r\n");
    QTest::newRow("LF") << QByteArray("\n");
}

void TestImageCheck::lineEnds() {
    QFETCH(QByteArray, lineEnd);
    const QString path = dir_.filePath(QStringLiteral("ends.hex"));
    QVERIFY(HexImages::Write(path, HexImages::Image(3), lineEnd));
    const ImageCheckResult result = CheckImage(path);
    QVERIFY2(result.passed(), qPrintable(result.failureText(EnglishTexts())));
    QCOMPARE(result.lines, 4LL);
}

void TestImageCheck::missingFileIsUnusable() {
    const ImageCheckResult result = CheckImage(dir_.filePath(QStringLiteral("gone.hex")));
    QCOMPARE(result.failureText(EnglishTexts()), QStringLiteral("FILE UNUSABLE"));
    QVERIFY(!result.reason.isEmpty());
}

void TestImageCheck::counterText() {
    QCOMPARE(CounterText(0), QStringLiteral("00"));
    QCOMPARE(CounterText(7), QStringLiteral("07"));
    QCOMPARE(CounterText(10), QStringLiteral("10"));
    QCOMPARE(CounterText(123456), QStringLiteral("123456"));
}

QTEST_GUILESS_MAIN(TestImageCheck)
#include "tst_imagecheck.moc"
