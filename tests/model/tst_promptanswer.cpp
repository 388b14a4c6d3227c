#include "model/PromptAnswer.h"

#include <QTest>

class TestPromptAnswer : public QObject {
    Q_OBJECT
private slots:
    void value_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<long long>("value");
        QTest::newRow("plain") << "5" << 5LL;
        QTest::newRow("blanks in front") << "   12" << 12LL;
        QTest::newRow("tab in front") << "\t7" << 7LL;
        QTest::newRow("trailing text") << "12abc" << 12LL;
        QTest::newRow("negative") << "-30" << -30LL;
        QTest::newRow("plus sign") << "+4" << 4LL;
        QTest::newRow("rounded down") << "2.4" << 2LL;
        QTest::newRow("rounded up") << "2.6" << 3LL;
        QTest::newRow("half away from zero") << "-2.5" << -3LL;
        QTest::newRow("a lone point") << "3." << 3LL;
        QTest::newRow("letters") << "abc" << 0LL;
        QTest::newRow("empty") << "" << 0LL;
        QTest::newRow("only a sign") << "-" << 0LL;
        QTest::newRow("digits after a blank") << "1 2" << 1LL;
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("\xd9\xa3") << 0LL;
        QTest::newRow("far too long") << "123456789012345678901234567890" << 1234567890123LL;
    }
    void value() {
        QFETCH(QString, typed);
        QFETCH(long long, value);
        QCOMPARE(PromptAnswer::Value(typed), value);
    }
};

QTEST_MAIN(TestPromptAnswer)
#include "tst_promptanswer.moc"
