#include "Q517Paths.h"
#include "support/HexImages.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using HexImages::Record;

class TestHexCheck : public QObject {
    Q_OBJECT
private slots:
    void reports_data();
    void reports();
    void usage();
};

void TestHexCheck::reports_data() {
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("errorLine");
    QTest::newRow("tagged image")
        << QList<QByteArray>{HexImages::DataRecord(0, 16), Record(0x0600, 0, "4F21A703/15/2010"),
                             ":00000001FF"}
        << 0 << QByteArray("lines 3\nbytes 32\ntag  CRC Prog:  4F21A7  Date Prog: MAR 15 2010\n")
        << QByteArray();
    QTest::newRow("no tag row") << QList<QByteArray>{":00000001FF"} << 0
                                << QByteArray("lines 1\nbytes 0\n") << QByteArray();
    QTest::newRow("month 0 draws no tag")
        << QList<QByteArray>{Record(0x0600, 0, "ABCDEF00"), ":00000001FF"} << 0
        << QByteArray("lines 2\nbytes 8\n") << QByteArray();
    QTest::newRow("parity") << QList<QByteArray>{":00000001FF", ":0300300002337A1e"} << 1
                            << QByteArray() << QByteArray("PARITY ERROR IN LINE 2");
    QTest::newRow("empty image") << QList<QByteArray>{} << 1 << QByteArray()
                                 << QByteArray("FILE UNUSABLE");
}

void TestHexCheck::reports() {
    QFETCH(QList<QByteArray>, lines);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, errorLine);
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("image.hex"));
    QVERIFY(HexImages::Write(image, lines));
    QProcess cli;
    cli.start(QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli"),
              {QStringLiteral("hexcheck"), image});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), status);
    QCOMPARE(cli.readAllStandardOutput(), out);
    const QByteArray err = cli.readAllStandardError();
    if (errorLine.isEmpty())
        QVERIFY2(!err.contains("ERROR") && !err.contains("UNUSABLE"), err.constData());
    else
        QVERIFY2(err.split('\n').contains(errorLine), err.constData());
}

void TestHexCheck::usage() {
    QProcess cli;
    cli.start(QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli"), {QStringLiteral("hexcheck")});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 2);
    QVERIFY(cli.readAllStandardOutput().isEmpty());
}

QTEST_GUILESS_MAIN(TestHexCheck)
#include "tst_hexcheck.moc"
