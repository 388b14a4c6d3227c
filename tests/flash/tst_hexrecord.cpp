#include "flash/FirmwareTag.h"
#include "flash/HexRecord.h"

#include <QTest>

class TestHexRecord : public QObject {
    Q_OBJECT
private slots:
    void checksumRule_data();
    void checksumRule();
    void wellFormed_data();
    void wellFormed();
    void versionRecord_data();
    void versionRecord();
    void addressField();
    void tagLine_data();
    void tagLine();
    void monthNames();
};

void TestHexRecord::checksumRule_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("matches");
    QTest::newRow("end record") << QByteArray(":00000001FF") << true;
    QTest::newRow("sum E2 gives 1E") << QByteArray(":0300300002337A1E") << true;
    QTest::newRow("lower-case checksum") << QByteArray(":0300300002337A1e") << false;
    QTest::newRow("sum 0 gives 00") << QByteArray(":0000000000") << true;
    QTest::newRow("off by one") << QByteArray(":0100000000FE") << false;
    QTest::newRow("sum 256 gives 00") << QByteArray(":01000000FF00") << true;
    QTest::newRow("data digit changed") << QByteArray(":0300300002337B1E") << false;
    QTest::newRow("extended address") << QByteArray(":020000021000EC") << true;
    QTest::newRow("lower-case data, upper checksum") << QByteArray(":0300300002337a1E") << true;
    QTest::newRow("one character") << QByteArray(":") << false;
}

void TestHexRecord::checksumRule() {
    QFETCH(QByteArray, line);
    QFETCH(bool, matches);
    QCOMPARE(HexRecord::ChecksumMatches(line), matches);
}

void TestHexRecord::wellFormed_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<int>("dataBytes");
    QTest::newRow("end record") << QByteArray(":00000001FF") << true << 0;
    QTest::newRow("three bytes") << QByteArray(":0300300002337A1E") << true << 3;
    QTest::newRow("too short") << QByteArray(":00") << false << -4;
    QTest::newRow("even length") << QByteArray(":0300300002337A1E0") << false << 3;
    QTest::newRow("not hex") << QByteArray(":03003000G2337A1E") << false << 3;
    QTest::newRow("count says 4, three bytes") << QByteArray(":0400300002337A1E") << false << 3;
    QTest::newRow("no colon") << QByteArray("00000001FF") << false << 0;
}

void TestHexRecord::wellFormed() {
    QFETCH(QByteArray, line);
    QFETCH(bool, sound);
    QFETCH(int, dataBytes);
    QCOMPARE(HexRecord::IsWellFormed(line), sound);
    QCOMPARE(HexRecord::DataByteCount(line), dataBytes);
}

void TestHexRecord::versionRecord_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("version");
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("offset 0600 type 00")
        << QByteArray(":02060000414275") << true << QByteArray("AB");
    QTest::newRow("offset 0600 type 01")
        << QByteArray(":02060001414273") << false << QByteArray("AB");
    QTest::newRow("offset 0601") << QByteArray(":02060100414274") << false << QByteArray("AB");
    QTest::newRow("offset 0600 empty") << QByteArray(":00060000FA") << true << QByteArray();
    QTest::newRow("shorter than a record") << QByteArray(":0206000") << false << QByteArray();
}

void TestHexRecord::versionRecord() {
    QFETCH(QByteArray, line);
    QFETCH(bool, version);
    QFETCH(QByteArray, data);
    QCOMPARE(HexRecord::IsVersionRecord(line), version);
    QCOMPARE(HexRecord::DataBytes(line), data);
}

void TestHexRecord::addressField() {
    using HexRecord::AddressText;
    using HexRecord::LoadOffset;
    QCOMPARE(AddressText(LoadOffset(":10C00000FF")), QStringLiteral("0C000H"));
    QCOMPARE(AddressText(LoadOffset(":00000001FF")), QStringLiteral("00000H"));
    // The address is the offset field alone, whatever the byte count before it.
    QCOMPARE(AddressText(LoadOffset(":0BFFF0")), QStringLiteral("0FFF0H"));
    QCOMPARE(LoadOffset(":10C0"), -1);
}

void TestHexRecord::tagLine_data() {
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QString>("line");
    QTest::newRow("full tag") << QByteArray("4F21A703/15/2010")
                              << QStringLiteral(" CRC Prog:  4F21A7  Date Prog: MAR 15 2010");
    QTest::newRow("eight characters")
        << QByteArray("ABCDEF05") << QStringLiteral(" CRC Prog:  ABCDEF  Date Prog: MAY");
    QTest::newRow("month 13") << QByteArray("ABCDEF13-01-2011")
                              << QStringLiteral(" CRC Prog:  ABCDEF  Date Prog:  01 2011");
    QTest::newRow("month 12, December")
        << QByteArray("00000112.31.1999")
        << QStringLiteral(" CRC Prog:  000001  Date Prog: DEC 31 1999");
    QTest::newRow("after 16 ignored")
        << QByteArray("4F21A701/02/2003XYZ")
        << QStringLiteral(" CRC Prog:  4F21A7  Date Prog: JAN 02 2003");
    QTest::newRow("separator only") << QByteArray("4F21A70X") << QString();
    QTest::newRow("month 00") << QByteArray("4F21A700/15/2010") << QString();
    QTest::newRow("seven characters") << QByteArray("4F21A70") << QString();
    QTest::newRow("no tag") << QByteArray() << QString();
    QTest::newRow("nine characters")
        << QByteArray("ABCDEF07/") << QStringLiteral(" CRC Prog:  ABCDEF  Date Prog: JUL ");
}

void TestHexRecord::tagLine() {
    QFETCH(QByteArray, tag);
    QFETCH(QString, line);
    QCOMPARE(FirmwareTag::TagLine(tag), line);
}

void TestHexRecord::monthNames() {
    const QStringList names{"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 1; m <= 12; ++m)
        QCOMPARE(FirmwareTag::MonthName(m), names.at(m - 1));
    QCOMPARE(FirmwareTag::MonthName(0), QString());
    QCOMPARE(FirmwareTag::MonthName(13), QString());
}

QTEST_GUILESS_MAIN(TestHexRecord)
#include "tst_hexrecord.moc"
