#include "model/NumberForms.h"

#include <QTest>

#include <limits>

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
        QCOMPARE(NumberForms::LeadingNumber(typed, NumberForms::Rounding::ByFirstDecimal), value);
    }

    // The three readers share one parser and keep their own rules.
    void rules_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<long long>("truncated");
        QTest::addColumn<long long>("typed");
        QTest::addColumn<long long>("inFile");
        QTest::newRow("a half below an even") << "2.5" << 2LL << 3LL << 2LL;
        QTest::newRow("a half below an odd") << " 3.5" << 3LL << 4LL << 4LL;
        QTest::newRow("only the first decimal for answers") << "2.46" << 2LL << 2LL << 2LL;
        QTest::newRow("the whole fraction in files") << "2.501" << 2LL << 3LL << 3LL;
        QTest::newRow("negative half") << "-0.5" << 0LL << -1LL << 0LL;
        QTest::newRow("far too large") << "99999999999999999999" << 9999999999999LL
                                       << 9999999999999LL << std::numeric_limits<long long>::max();
    }
    void rules() {
        QFETCH(QString, text);
        QFETCH(long long, truncated);
        QFETCH(long long, typed);
        QFETCH(long long, inFile);
        using NumberForms::Rounding;
        QCOMPARE(NumberForms::LeadingNumber(text, Rounding::Truncate), truncated);
        QCOMPARE(NumberForms::LeadingNumber(text, Rounding::ByFirstDecimal), typed);
        QCOMPARE(NumberForms::LeadingNumber(text, Rounding::HalfToEven), inFile);
    }
};

QTEST_MAIN(TestPromptAnswer)
#include "tst_promptanswer.moc"
