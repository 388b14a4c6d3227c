#include "app/AppWindow.h"
#include "print/gui/PrintWindow.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingPrintTarget.h"
#include "support/TestSession.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <optional>

// A print window on a recording target, shown and with the focus in NFrm.
struct ShownPrintWindow {
    TestSession ts;
    RecordingPrintTarget target;
    std::unique_ptr<PrintWindow> window;

    explicit ShownPrintWindow(int currentFormat = 3) {
        ts.session.program.CurrentFormat = currentFormat;
        window = std::make_unique<PrintWindow>(ts.session, target);
        window->show();
        QApplication::setActiveWindow(window.get());
        window->NFrm->setFocus();
    }
    QStringList printedLines() const {
        return target.surface ? target.surface->printedLines() : QStringList();
    }
};

class PrintWindowTest : public QObject {
    Q_OBJECT
private slots:
    void captionsAndStartNumber() {
        ShownPrintWindow w(4);
        PrintWindow& win = *w.window;
        QCOMPARE(win.objectName(), QStringLiteral("PrnSize"));
        QCOMPARE(win.windowTitle(), QStringLiteral("T78"));
        QCOMPARE(win.LFORM->text(), QStringLiteral("T76"));
        QCOMPARE(win.PRINTALL->text(), QStringLiteral("T77"));
        QCOMPARE(win.Fr_MODS->title(), QStringLiteral("T75"));
        QCOMPARE(win.F_grh->text(), QStringLiteral("T79"));
        QCOMPARE(win.F_TXT->text(), QStringLiteral("T80"));
        QCOMPARE(win.Command1->text(), QStringLiteral("&SELECT"));
        QCOMPARE(win.T_OK->text(), QStringLiteral("&PRINT"));
        QCOMPARE(win.T_EX->text(), QStringLiteral("&EXIT"));
        QCOMPARE(win.NFrm->text(), QStringLiteral("04"));
        QVERIFY(win.F_TXT->isChecked());
        QVERIFY(win.findChild<QLineEdit*>(QStringLiteral("NFrm")));
    }

    void tabOrEnterCorrects_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("above, Tab") << "09" << int(Qt::Key_Tab) << "6";
        QTest::newRow("above, Enter") << "50" << int(Qt::Key_Return) << "6";
        QTest::newRow("keypad Enter") << "07" << int(Qt::Key_Enter) << "6";
        QTest::newRow("00") << "00" << int(Qt::Key_Tab) << "1";
        QTest::newRow("empty") << "" << int(Qt::Key_Return) << "1";
        QTest::newRow("in range stays") << "05" << int(Qt::Key_Tab) << "05";
        QTest::newRow("one digit stays") << "2" << int(Qt::Key_Tab) << "2";
    }
    void tabOrEnterCorrects() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, shown);
        ShownPrintWindow w;
        PrintWindow& win = *w.window;
        win.NFrm->setText(typed);
        win.NFrm->selectAll();
        QTest::keyClick(win.NFrm, Qt::Key(key));
        QCOMPARE(win.NFrm->text(), shown);
        QVERIFY(!win.NFrm->hasSelectedText());
        // The key stays in the field: no focus move, no printing.
        QCOMPARE(QApplication::focusWidget(), win.NFrm);
        QCOMPARE(w.target.jobs, 0);
    }

    void rejectedThirdDigitSelectsAll() {
        ShownPrintWindow w;
        PrintWindow& win = *w.window;
        win.NFrm->clear();
        win.NFrm->setCursorPosition(0);
        QTest::keyClicks(win.NFrm, QStringLiteral("12"));
        QVERIFY(!win.NFrm->hasSelectedText());
        QTest::keyClicks(win.NFrm, QStringLiteral("3"));
        QCOMPARE(win.NFrm->selectedText(), QStringLiteral("12"));
        QTest::keyClicks(win.NFrm, QStringLiteral("4"));
        QCOMPARE(win.NFrm->text(), QStringLiteral("4"));
    }

    void printAllHidesTheNumber() {
        ShownPrintWindow w;
        PrintWindow& win = *w.window;
        win.PRINTALL->click();
        QVERIFY(win.NFrm->isHidden());
        QVERIFY(win.LFORM->isHidden());
        win.PRINTALL->click();
        QVERIFY(!win.NFrm->isHidden());
        QVERIFY(!win.LFORM->isHidden());
    }

    void printOneFormat_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("graphic");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("shownAfter");
        QTest::newRow("listing") << "03" << false << " 517Q06               FORMAT No. 03"
                                 << "03";
        QTest::newRow("diagram") << "05" << true << " C24 -06               FORMAT No. 05"
                                 << "05";
        // Typed but never confirmed with Tab or Enter: still brought into range.
        QTest::newRow("unconfirmed 09") << "09" << false << " 517Q06               FORMAT No. 06"
                                        << "6";
        QTest::newRow("unconfirmed 00") << "00" << true << " C24 -06               FORMAT No. 01"
                                        << "1";
    }
    void printOneFormat() {
        QFETCH(QString, typed);
        QFETCH(bool, graphic);
        QFETCH(QString, header);
        QFETCH(QString, shownAfter);
        ShownPrintWindow w;
        PrintWindow& win = *w.window;
        win.NFrm->setText(typed);
        (graphic ? win.F_grh : win.F_TXT)->setChecked(true);
        QTest::mouseClick(win.T_OK, Qt::LeftButton);
        QCOMPARE(w.target.jobs, 1);
        QVERIFY(w.target.surface);
        QCOMPARE(w.target.surface->pages(), 1);
        QCOMPARE(w.target.surface->jobsEnded, 1);
        QCOMPARE(w.target.surface->texts.first().text, header);
        QCOMPARE(win.NFrm->text(), shownAfter);
        QCOMPARE(w.ts.prompts.busyDepth(), 0);
        QVERIFY(w.ts.prompts.processEventsCalls() > 0);
        QVERIFY(win.isVisible());
    }

    void printAllSixFormats() {
        ShownPrintWindow w(2);
        PrintWindow& win = *w.window;
        win.PRINTALL->click();
        QTest::mouseClick(win.T_OK, Qt::LeftButton);
        const RecordingPrintSurface& s = *w.target.surface;
        QCOMPARE(s.pages(), 6);
        QCOMPARE(s.jobsEnded, 1);
        QStringList headers;
        for (const auto& text : s.texts)
            if (text.text.contains(QLatin1String("FORMAT No.")))
                headers << text.text.right(2) + QLatin1Char('@') + QString::number(text.page);
        QCOMPARE(headers, (QStringList{"01@1", "02@2", "03@3", "04@4", "05@5", "06@6"}));
        QCOMPARE(win.NFrm->text(), QStringLiteral("06"));
    }

    void declinedJobPrintsNothing() {
        ShownPrintWindow w;
        w.target.decline = true;
        QTest::mouseClick(w.window->T_OK, Qt::LeftButton);
        QCOMPARE(w.target.jobs, 1);
        QCOMPARE(w.ts.prompts.busyDepth(), 0);
        QVERIFY(w.ts.prompts.messages().isEmpty());
    }

    void failedOutputIsReported() {
        ShownPrintWindow w;
        w.target.failEndJob = true;
        w.ts.prompts.expectMessage(QStringLiteral("PRINT ERROR"));
        QTest::mouseClick(w.window->T_OK, Qt::LeftButton);
        QVERIFY2(w.ts.prompts.allShown(), qPrintable(w.ts.prompts.problems()));
        QCOMPARE(w.ts.prompts.busyDepth(), 0);
    }

    void selectWithTwoCopiesWarns() {
        ShownPrintWindow w;
        CommonDialogBackend::PrinterChoice two;
        two.copies = 2;
        two.flags = 0x40000;
        CommonDialogBackend::PrinterChoice one;
        one.flags = 0x40000;
        w.ts.dialogs.chooseNextPrinter(two);
        w.ts.dialogs.chooseNextPrinter(one);
        w.ts.prompts.expectMessage(QStringLiteral("T55"));
        QTest::mouseClick(w.window->Command1, Qt::LeftButton);
        QVERIFY2(w.ts.prompts.allShown(), qPrintable(w.ts.prompts.problems()));
        QCOMPARE(w.ts.dialogs.printerDialogs, 2);
    }

    void exitCloses() {
        ShownPrintWindow w;
        QTest::mouseClick(w.window->T_EX, Qt::LeftButton);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.target.jobs, 0);
    }

    // The File menu reaches Select Printer.
    void fileMenuSelectPrinter() {
        TestSession ts;
        AppWindow main(ts.session);
        CommonDialogBackend::PrinterChoice collated;
        collated.flags = 0x40000 | 0x10;
        ts.dialogs.chooseNextPrinter(collated);
        ts.dialogs.chooseNextPrinter({}, false);
        ts.prompts.expectMessage(QStringLiteral("T55"));
        main.actions().f_SelPr->trigger();
        QVERIFY2(ts.prompts.allShown(), qPrintable(ts.prompts.problems()));
        QCOMPARE(ts.dialogs.printerDialogs, 2);
    }

    // File > Print on a machine without printers asks for a PDF file and writes it; an
    // existing file is replaced only when the operator says so, and only whole: on a full
    // disk (here the file size limit) it stays as it was and the message says why.
    void fileMenuPrintWithoutPrinterMakesPdf_data() {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("new file") << false << false << false;
        QTest::newRow("existing, replaced") << true << true << false;
        QTest::newRow("existing, kept") << true << false << false;
        QTest::newRow("existing, disk full") << true << true << true;
    }
    void fileMenuPrintWithoutPrinterMakesPdf() {
        QFETCH(bool, existing);
        QFETCH(bool, replace);
        QFETCH(bool, fullDisk);
        if (!QPrinterInfo::availablePrinterNames().isEmpty())
            QSKIP("this machine has printers; the PDF fallback is not reachable");
        TestSession ts;
        AppWindow main(ts.session);
        const QString pdf = ts.path(QStringLiteral("listing.pdf"));
        if (existing) {
            QFile old(pdf);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("cam notes");
            ts.prompts.expectMessage(QStringLiteral("T108") + pdf,
                                     replace ? Prompts::Answer::Yes : Prompts::Answer::No);
        }
        if (fullDisk)
            ts.prompts.expectMessage(QStringLiteral("PRINT ERROR ") + pdf +
                                     QStringLiteral(": File too large"));
        // The name is typed without its extension.
        ts.dialogs.chooseNextFile(ts.path(QStringLiteral("listing")));
        bool clicked = false;
        QTimer::singleShot(0, &main, [&] {
            auto* window = main.findChild<PrintWindow*>(QStringLiteral("PrnSize"));
            QVERIFY(window);
            std::optional<FileSizeLimit> limit;
            if (fullDisk)
                limit.emplace(64);
            window->T_OK->click();
            limit.reset();
            clicked = true;
            window->T_EX->click();
        });
        main.actions().Pr_Size->trigger();
        QVERIFY(clicked);
        QVERIFY(!ts.dialogs.pending());
        QVERIFY2(ts.prompts.allShown(), qPrintable(ts.prompts.problems()));
        QCOMPARE(ts.dialogs.titles.value(0), QStringLiteral("T78"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const bool written = (!existing || replace) && !fullDisk;
        QCOMPARE(file.read(5).startsWith("%PDF-"), written);
        const QString result = main.findChild<QLabel*>(QStringLiteral("StResult"))->text();
        QCOMPARE(result, written ? QStringLiteral("PDF written: ") + pdf : QString());
    }
};

QTEST_MAIN(PrintWindowTest)
#include "tst_printwindow.moc"
