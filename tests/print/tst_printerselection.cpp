#include "print/PrinterSelection.h"
#include "support/TestSession.h"

#include <QTest>

// The fake printer dialog, also noting what each showing was asked with.
class NotingPrinterDialog : public FakeCommonDialogBackend {
public:
    bool choosePrinter(const CommonDialog& request, PrinterChoice& choice,
                       int32_t& error) override {
        titles << request.DialogTitle;
        flags << request.Flags;
        copiesAsked << request.Copies();
        return FakeCommonDialogBackend::choosePrinter(request, choice, error);
    }
    QStringList titles;
    QList<uint32_t> flags;
    QList<int> copiesAsked;
};

using Step = QPair<int, int>; // copies (0: cancel), extra flags
Q_DECLARE_METATYPE(QList<Step>)

class PrinterSelectionTest : public QObject {
    Q_OBJECT
private slots:
    void selection_data() {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<int>("warnings");
        const int collate = 0x10;
        QTest::newRow("one copy") << QList<Step>{{1, 0}} << 0;
        QTest::newRow("cancelled") << QList<Step>{{0, 0}} << 0;
        QTest::newRow("two copies, then one") << QList<Step>{{2, 0}, {1, 0}} << 1;
        QTest::newRow("collated, then plain") << QList<Step>{{1, collate}, {1, 0}} << 1;
        QTest::newRow("two copies, then cancel") << QList<Step>{{2, 0}, {0, 0}} << 1;
        QTest::newRow("three tries") << QList<Step>{{3, 0}, {2, collate}, {1, 0}} << 2;
    }
    void selection() {
        QFETCH(QList<Step>, steps);
        QFETCH(int, warnings);
        TestSession ts;
        NotingPrinterDialog dialogs;
        ts.dialog.setBackend(dialogs);
        for (const Step& step : steps) {
            CommonDialogBackend::PrinterChoice choice;
            choice.printerName = QStringLiteral("Line printer");
            choice.copies = int16_t(std::max(1, step.first));
            // The dialog hands back the flags it was given, driver copies included.
            choice.flags = 0x40000 | 0x4 | 0x8 | uint32_t(step.second);
            dialogs.chooseNextPrinter(choice, step.first > 0);
        }
        for (int i = 0; i < warnings; ++i)
            ts.prompts.expectMessage(QStringLiteral("T55"));

        PrinterSelection::SelectPrinter(ts.dialog, ts.prompts, ts.session.texts);

        QVERIFY2(ts.prompts.allShown(), qPrintable(ts.prompts.problems()));
        QVERIFY(!dialogs.pending());
        QCOMPARE(dialogs.printerDialogs, steps.size());
        for (int i = 0; i < steps.size(); ++i) {
            QCOMPARE(dialogs.titles[i], QStringLiteral("T42"));
            // No page range, no selection, the driver makes the copies; one copy asked.
            QCOMPARE(dialogs.flags[i] & 0x4000Cu, 0x4000Cu);
            QCOMPARE(dialogs.flags[i] & 0x10u, 0u);
            QCOMPARE(dialogs.copiesAsked[i], 1);
        }
    }

    // Copies left by an earlier dialog must not keep a cancelled dialog coming back.
    void cancelEndsDespiteEarlierCopies() {
        TestSession ts;
        ts.dialog.setCopies(4);
        ts.dialog.Flags = 0x10;
        ts.dialogs.chooseNextPrinter({}, false);
        PrinterSelection::SelectPrinter(ts.dialog, ts.prompts, ts.session.texts);
        QCOMPARE(ts.dialogs.printerDialogs, 1);
        QVERIFY(ts.prompts.messages().isEmpty());
    }

    void cancelErrorIsNotRaised() {
        TestSession ts;
        ts.dialog.CancelError = true;
        ts.dialogs.chooseNextPrinter({}, false);
        PrinterSelection::SelectPrinter(ts.dialog, ts.prompts, ts.session.texts);
        QCOMPARE(ts.dialogs.printerDialogs, 1);
        QVERIFY(ts.dialog.CancelError);
    }
};

QTEST_MAIN(PrinterSelectionTest)
#include "tst_printerselection.moc"
