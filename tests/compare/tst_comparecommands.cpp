#include "compare/gui/DifferencesWindow.h"
#include "model/CamFileWriter.h"
#include "support/CamRuns.h"
#include "support/EditorHarness.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>

// File > Compare with File: the differences window on the program in memory and a cam file,
// and its double-click back into the editor.
class TestCompareCommands : public QObject {
    Q_OBJECT

    static DifferencesWindow* differences(EditorHarness& h) {
        return h.window.findChild<DifferencesWindow*>(QStringLiteral("DIFF"));
    }

private slots:
    void compareWithFileShowsTheDifferencesAndGoesToThem() {
        EditorHarness h;
        CamRuns::Fill(h.program(), 2, 4, {{10, 49}});
        CamProgram other = h.program();
        CamRuns::Fill(other, 2, 4, {{10, 59}});
        CamRuns::Fill(other, 5, 1, {{300, 29}});
        const QString path = h.ts.path(QStringLiteral("OTHER.CAM"));
        QVERIFY(WriteCamFile(other, path, false));
        const QByteArray before = CamRuns::FormatBytes(h.program(), 2);

        h.ts.dialogs.chooseNextFile(path);
        h.window.actions().f_Compare->trigger();
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
        DifferencesWindow* window = differences(h);
        QVERIFY(window && window->isVisible());
        QCOMPARE(window->CaptionB->text(), QStringLiteral("B: OTHER.CAM"));
        QCOMPARE(window->DiffList->count(), 2);
        QCOMPARE(CamRuns::FormatBytes(h.program(), 2), before);
        QVERIFY(h.program().ProgramSaved);

        // Double-clicking F05 C01 shows that format and cam in the editor.
        QListWidget* list = window->DiffList;
        const QRect item = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(h.program().CurrentFormat, 5);
        QCOMPARE(h.program().CurrentCam, 1);
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 01"));
        QCOMPARE(CamRuns::Of(h.program(), 5, 1), CamRuns::Runs());

        // An edit makes the window out of date; Compare again compares what there is now.
        window->recheck();
        QVERIFY(!window->outOfDate());
        CamRuns::Fill(h.program(), 2, 4, {{10, 59}});
        window->recheck();
        QVERIFY(window->outOfDate());
        QVERIFY(window->Summary->text().startsWith(h.ts.session.Text(342) + QLatin1Char('\n')));
        QVERIFY(window->K_AGAIN->isVisibleTo(window));
        QTest::mouseClick(window->K_AGAIN, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        DifferencesWindow* again = differences(h);
        QVERIFY(again && again != window && !again->outOfDate());
        QCOMPARE(again->DiffList->count(), 1);
    }

    void aFileThatCannotBeReadIsNotCompared() {
        EditorHarness h;
        const QString path = h.ts.path(QStringLiteral("BAD.CAM"));
        QFile bad(path);
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("FUNZIONI 24-06\r\nrubbish\r\n") > 0);
        bad.close();
        h.ts.dialogs.chooseNextFile(path);
        h.ts.prompts.expectMessageContaining(QStringLiteral("BAD.CAM: line 2"));
        h.window.actions().f_Compare->trigger();
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
        QVERIFY(!differences(h));
    }
};

QTEST_MAIN(TestCompareCommands)
#include "tst_comparecommands.moc"
