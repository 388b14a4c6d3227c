#include "model/CamProgram.h"
#include "print/PrintJob.h"
#include "support/EnglishTexts.h"
#include "support/RecordingPrintSurface.h"

#include <QTest>

class PrintJobTest : public QObject {
    Q_OBJECT
private slots:
    void correctedFormat_data() {
        QTest::addColumn<long long>("typed");
        QTest::addColumn<int>("formatCount");
        QTest::addColumn<int>("printed");
        QTest::newRow("in range") << 3LL << 6 << 3;
        QTest::newRow("last") << 6LL << 6 << 6;
        QTest::newRow("above") << 7LL << 6 << 6;
        QTest::newRow("99 of 89") << 99LL << 89 << 89;
        QTest::newRow("00") << 0LL << 6 << 1;
        QTest::newRow("negative") << -5LL << 28 << 1;
    }
    void correctedFormat() {
        QFETCH(long long, typed);
        QFETCH(int, formatCount);
        QFETCH(int, printed);
        QCOMPARE(PrintJob::CorrectedFormat(typed, formatCount), printed);
    }

    // A number outside the formats never reaches the layout: it prints the nearest format.
    void singleFormatIsCorrected_data() {
        QTest::addColumn<int>("typed");
        QTest::addColumn<QString>("header");
        QTest::newRow("0") << 0 << " 517Q06               FORMATO N. 01";
        QTest::newRow("4") << 4 << " 517Q06               FORMATO N. 04";
        QTest::newRow("50") << 50 << " 517Q06               FORMATO N. 06";
    }
    void singleFormatIsCorrected() {
        QFETCH(int, typed);
        QFETCH(QString, header);
        CamProgram program;
        RecordingPrintSurface surface;
        int callbacks = 0;
        QVERIFY(PrintJob::Print(surface, program, {false, typed, false}, ItalianTexts(),
                                [&](int) { ++callbacks; }));
        QCOMPARE(surface.printedLines().value(1), header);
        QCOMPARE(surface.pages(), 1);
        QCOMPARE(surface.jobsEnded, 1);
        QCOMPARE(callbacks, 0);
    }

    void printAllOnePagePerFormat_data() {
        QTest::addColumn<bool>("graphic");
        QTest::addColumn<QString>("headerStart");
        QTest::newRow("listing") << false << " 517Q06               FORMATO N. ";
        QTest::newRow("diagram") << true << " C24 -06               FORMATO N. ";
    }
    void printAllOnePagePerFormat() {
        QFETCH(bool, graphic);
        QFETCH(QString, headerStart);
        CamProgram program;
        program.WriteDegree(6, 24, 100, 1);
        RecordingPrintSurface surface;
        QList<int> shown;
        QVERIFY(PrintJob::Print(surface, program, {true, 3, graphic}, ItalianTexts(),
                                [&](int format) { shown << format; }));
        QCOMPARE(surface.pages(), 6);
        QCOMPARE(surface.jobsEnded, 1);
        QCOMPARE(shown, (QList<int>{1, 2, 3, 4, 5, 6}));
        QList<int> headerPages;
        for (const auto& text : surface.texts) {
            if (text.text.startsWith(headerStart)) {
                QCOMPARE(text.text, headerStart + QStringLiteral("0%1").arg(text.page));
                headerPages << text.page;
            }
        }
        QCOMPARE(headerPages, (QList<int>{1, 2, 3, 4, 5, 6}));
    }

    void failedOutputIsReported() {
        CamProgram program;
        RecordingPrintSurface surface;
        surface.failEndJob = true;
        QVERIFY(!PrintJob::Print(surface, program, {false, 1, false}, ItalianTexts()));
    }
};

QTEST_GUILESS_MAIN(PrintJobTest)
#include "tst_printjob.moc"
