#include "link/ReceivedFormats.h"
#include "support/EnglishTexts.h"

#include <QTest>

class TestReceivedFormats : public QObject {
    Q_OBJECT
private slots:
    // A reception is whole only with every format of the type, in order, and END.
    void wholeOnlyWithEveryFormatAndEnd_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QString>("missing"); // empty: whole
        const QByteArray head = "FUNZIONI\r\n03\r\n000000000000\r\n";
        QTest::newRow("whole") << head + " FORMATO N. 01\r\nC 01\r\n 010 020\r\nFORMATO N. 02\r\n"
                                         "FORMATO N. 03\r\nEND\r\n"
                               << "";
        QTest::newRow("one cam of format 1, then END") << head + " FORMATO N. 01\r\nC 01\r\nEND\r\n"
                                                       << "formats 2-3 never came";
        QTest::newRow("format 2 skipped") << head + " FORMATO N. 01\r\n FORMATO N. 03\r\nEND\r\n"
                                          << "format 2 never came";
        QTest::newRow("broken off") << head + " FORMATO N. 01\r\n FORMATO N. 02\r\n"
                                    << "format 3 and END never came";
        QTest::newRow("every format, no END")
            << head + " FORMATO N. 01\r\n FORMATO N. 02\r\n FORMATO N. 03\r\n"
            << "END never came";
        QTest::newRow("out of order") << head + " FORMATO N. 02\r\n FORMATO N. 01\r\n"
                                                " FORMATO N. 03\r\nEND\r\n"
                                      << "the formats came out of order";
        QTest::newRow("nothing") << QByteArray() << "formats 1-3 and END never came";
        QTest::newRow("lines after END do not count")
            << head + "END\r\n FORMATO N. 01\r\n FORMATO N. 02\r\n FORMATO N. 03\r\n"
            << "formats 1-3 never came";
    }
    void wholeOnlyWithEveryFormatAndEnd() {
        QFETCH(QByteArray, stream);
        QFETCH(QString, missing);
        const ReceivedFormats received = ReceivedFormats::Scan(stream);
        QCOMPARE(received.MissingText(3, EnglishTexts()), missing);
        QCOMPARE(received.Whole(3), missing.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReceivedFormats)
#include "tst_receivedformats.moc"
