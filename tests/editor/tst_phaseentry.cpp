#include "support/EditorHarness.h"

#include <QTest>

#include <array>

namespace {
using Runs = QList<QPair<int, int>>; // inclusive ON runs, never wrapping

QList<int> onDegrees(const CamProgram& p, int format, int cam) {
    QList<int> on;
    for (int d = 0; d < 360; ++d)
        if (p.ReadDegree(format, cam, d))
            on.append(d);
    return on;
}

QList<int> degreesOf(const Runs& runs) {
    QList<int> on;
    for (const auto& r : runs)
        for (int d = r.first; d <= r.second; ++d)
            on.append(d);
    std::sort(on.begin(), on.end());
    return on;
}

void putRuns(CamProgram& p, int format, int cam, const Runs& runs) {
    for (const auto& r : runs)
        for (int d = r.first; d <= r.second; ++d)
            p.WriteDegree(format, cam, d, 1);
}
} // namespace

class TestPhaseEntry : public QObject {
    Q_OBJECT

    // Opens the fields for the current cam the way the operator does (GoPrCam), types ON,
    // Tab, OFF and finishes with the given key.
    static void enter(EditorHarness& h, const QString& on, const QString& off,
                      Qt::Key finish = Qt::Key_Return) {
        h.window.actions().GoPrCam->trigger();
        QVERIFY(h.onField()->hasFocus());
        h.type(on);
        h.key(Qt::Key_Tab);
        QVERIFY(h.offField()->hasFocus());
        h.type(off);
        h.key(finish);
    }

private slots:
    void onNinetyOffOneEightyOnAnEmptyCam() {
        EditorHarness h;
        QVERIFY(h.onField()->isHidden());
        h.window.actions().GoPrCam->trigger();
        QVERIFY(!h.onField()->isHidden());
        QVERIFY(!h.offField()->isHidden());
        QVERIFY(!h.label(QStringLiteral("LGRAD"))->isHidden());
        QCOMPARE(h.onField()->text(), QStringLiteral("000"));
        QCOMPARE(h.offField()->text(), QStringLiteral("000"));
        QCOMPARE(h.onField()->selectedText(), QStringLiteral("000"));
        h.type(QStringLiteral("90"));
        h.key(Qt::Key_Tab);
        QVERIFY(!h.program().ProgramSaved); // leaving ON marks the program changed
        QCOMPARE(h.offField()->selectedText(), QStringLiteral("000"));
        h.type(QStringLiteral("180"));
        h.key(Qt::Key_Return);

        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 090 180")});
        QCOMPARE(h.label(QStringLiteral("Tot_fasi"))->text(), QStringLiteral("T17001"));
        QCOMPARE(onDegrees(h.program(), 1, 1), degreesOf({{90, 179}}));
        QCOMPARE(h.label(QStringLiteral("StFile"))->text(), QStringLiteral("(no file) *"));
        QVERIFY(h.onField()->isHidden());
        QVERIFY(h.offField()->isHidden());
        QVERIFY(h.label(QStringLiteral("LGRAD"))->isHidden());
        QVERIFY(h.undo()->isEnabled());
        QVERIFY(!h.onField()->hasFocus() && !h.offField()->hasFocus());
    }

    // Each entry replaces the runs it overlaps or touches on its side of 0.
    void entriesMergeAndTrim_data() {
        QTest::addColumn<Runs>("before");
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<Runs>("after");
        QTest::newRow("40..120 over 10..50 and 100..150")
            << Runs{{10, 49}, {100, 149}} << "40"
            << "120" << QStringList{"F001 040 120"} << Runs{{40, 119}};
        QTest::newRow("100..150 inside 90..180 shrinks it")
            << Runs{{90, 179}} << "100"
            << "150" << QStringList{"F001 100 150"} << Runs{{100, 149}};
        QTest::newRow("90..180 again changes nothing")
            << Runs{{90, 179}} << "90"
            << "180" << QStringList{"F001 090 180"} << Runs{{90, 179}};
        QTest::newRow("ON = OFF inside deletes") << Runs{{90, 179}} << "120"
                                                 << "120" << QStringList{} << Runs{};
        QTest::newRow("ON = OFF at its OFF angle deletes") << Runs{{90, 179}} << "180"
                                                           << "180" << QStringList{} << Runs{};
        QTest::newRow("300..30 through zero")
            << Runs{} << "300"
            << "30" << QStringList{"F001 300 030"} << Runs{{300, 359}, {0, 29}};
        QTest::newRow("300..0 removes a run from 0")
            << Runs{{0, 9}} << "300"
            << "0" << QStringList{"F001 300 000"} << Runs{{300, 359}};
        QTest::newRow("0..30 keeps 300..359")
            << Runs{{300, 359}} << "0"
            << "30" << QStringList{"F001 300 030"} << Runs{{300, 359}, {0, 29}};
        QTest::newRow("one-digit OFF reads 9")
            << Runs{} << "5"
            << "9" << QStringList{"F001 005 009"} << Runs{{5, 8}};
        QTest::newRow("OFF above 359 applies 359")
            << Runs{} << "200"
            << "400" << QStringList{"F001 200 359"} << Runs{{200, 358}};
        QTest::newRow("ON above 359 applies 359")
            << Runs{} << "999"
            << "10" << QStringList{"F001 359 010"} << Runs{{359, 359}, {0, 9}};
    }
    void entriesMergeAndTrim() {
        QFETCH(Runs, before);
        QFETCH(QString, on);
        QFETCH(QString, off);
        QFETCH(QStringList, items);
        QFETCH(Runs, after);
        EditorHarness h;
        // The entry goes to the current cam of the current format, nowhere else.
        h.program().CurrentFormat = 3;
        h.program().CurrentCam = 5;
        putRuns(h.program(), 3, 5, before);
        putRuns(h.program(), 3, 6, before);
        h.window.host().redrawFormat();

        enter(h, on, off);

        QCOMPARE(h.phaseItems(), items);
        QCOMPARE(onDegrees(h.program(), 3, 5), degreesOf(after));
        QCOMPARE(onDegrees(h.program(), 3, 6), degreesOf(before));
        QVERIFY(onDegrees(h.program(), 1, 5).isEmpty());
        // Undo takes back exactly this entry; an entry that changed nothing is no step.
        QCOMPARE(h.undo()->isEnabled(), before != after);
        h.undo()->trigger();
        QCOMPARE(onDegrees(h.program(), 3, 5), degreesOf(before));
    }

    void fourHundredShowsAs359_data() {
        QTest::addColumn<bool>("inOn");
        QTest::newRow("ON field") << true;
        QTest::newRow("OFF field") << false;
    }
    void fourHundredShowsAs359() {
        QFETCH(bool, inOn);
        EditorHarness h;
        h.window.actions().GoPrCam->trigger();
        if (inOn) {
            h.type(QStringLiteral("400"));
            h.key(Qt::Key_Tab);
            QCOMPARE(h.onField()->text(), QStringLiteral("359"));
        } else {
            h.type(QStringLiteral("100"));
            h.key(Qt::Key_Tab);
            h.type(QStringLiteral("400"));
            h.key(Qt::Key_Return);
            QCOMPARE(h.offField()->text(), QStringLiteral("359"));
        }
    }

    void leavingOnByMouseClampsToo() {
        EditorHarness h;
        h.window.actions().GoPrCam->trigger();
        h.type(QStringLiteral("777"));
        QTest::mouseClick(h.offField(), Qt::LeftButton);
        QVERIFY(h.offField()->hasFocus());
        QCOMPARE(h.onField()->text(), QStringLiteral("359"));
    }

    void tabFromOffAppliesOnceAndKeepsTheFieldsOpen() {
        EditorHarness h;
        putRuns(h.program(), 1, 1, {{200, 209}});
        h.window.host().redrawFormat();
        enter(h, QStringLiteral("10"), QStringLiteral("20"), Qt::Key_Tab);
        QCOMPARE(h.phaseItems(),
                 (QStringList{QStringLiteral("F001 010 020"), QStringLiteral("F002 200 210")}));
        QVERIFY(!h.onField()->isHidden());
        QVERIFY(!h.offField()->isHidden());
        QVERIFY(h.onField()->hasFocus());
        QCOMPARE(h.onField()->text(), QStringLiteral("10"));
        QCOMPARE(h.offField()->text(), QStringLiteral("020"));
        QCOMPARE(h.onField()->selectionStart(), 0);
        QCOMPARE(h.onField()->selectionLength(), 3);

        // The next phase of the same cam, finished with Enter.
        h.type(QStringLiteral("50"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("60"));
        h.key(Qt::Key_Return);
        QCOMPARE(h.phaseItems(),
                 (QStringList{QStringLiteral("F001 010 020"), QStringLiteral("F002 050 060"),
                              QStringLiteral("F003 200 210")}));
        QVERIFY(h.offField()->isHidden());
        // Two entries, two steps back to where the cam began.
        h.undo()->trigger();
        QCOMPARE(h.phaseItems(),
                 (QStringList{QStringLiteral("F001 010 020"), QStringLiteral("F002 200 210")}));
        h.undo()->trigger();
        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 200 210")});
        QVERIFY(!h.undo()->isEnabled());
    }

    void fullCircleReenteredEndsAt358() {
        EditorHarness h;
        putRuns(h.program(), 1, 2, {{0, 359}});
        h.clickRow(2);
        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 000 360")});
        h.window.actions().GoPrCam->trigger();
        QCOMPARE(h.onField()->text(), QStringLiteral("000"));
        QCOMPARE(h.offField()->text(), QStringLiteral("360"));
        h.key(Qt::Key_Tab);
        h.key(Qt::Key_Return);
        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 000 359")});
        QCOMPARE(onDegrees(h.program(), 1, 2), degreesOf({{0, 358}}));
    }

    void aFullFieldStartsANewValue() {
        EditorHarness h;
        h.window.actions().GoPrCam->trigger();
        h.type(QStringLiteral("123"));
        QVERIFY(!h.onField()->hasSelectedText());
        h.type(QStringLiteral("4")); // refused: the field is full, so all is selected
        QCOMPARE(h.onField()->selectedText(), QStringLiteral("123"));
        h.type(QStringLiteral("45"));
        QCOMPARE(h.onField()->text(), QStringLiteral("45"));
        // A letter at the start is refused without selecting anything.
        h.onField()->setCursorPosition(0);
        h.type(QStringLiteral("x"));
        QVERIFY(!h.onField()->hasSelectedText());
        QCOMPARE(h.onField()->text(), QStringLiteral("45"));
    }

    void phaseListClickFillsTheFieldsWithoutFocus() {
        EditorHarness h;
        putRuns(h.program(), 1, 1, {{10, 19}, {100, 199}});
        h.window.host().redrawFormat();
        QListWidget* list = h.phaseList();
        const QRect second = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
        QVERIFY(!h.onField()->isHidden());
        QVERIFY(!h.offField()->isHidden());
        QCOMPARE(h.onField()->text(), QStringLiteral("100"));
        QCOMPARE(h.offField()->text(), QStringLiteral("200"));
        QVERIFY(!h.onField()->hasFocus());

        // A double click arrives as a click followed by the double click.
        const QPoint first = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
        QVERIFY(h.onField()->hasFocus());
        QCOMPARE(h.onField()->text(), QStringLiteral("010"));
        QCOMPARE(h.offField()->text(), QStringLiteral("020"));
        // Re-entering the phase with a new OFF angle changes that phase only.
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("30"));
        h.key(Qt::Key_Return);
        QCOMPARE(h.phaseItems(),
                 (QStringList{QStringLiteral("F001 010 030"), QStringLiteral("F002 100 200")}));
    }

    // An entry typed straight into the OFF field, never passing through ON, still counts
    // as a change of the program.
    void offOnlyEntryMarksTheProgramChanged() {
        EditorHarness h;
        putRuns(h.program(), 1, 1, {{10, 19}});
        h.window.host().redrawFormat();
        QListWidget* list = h.phaseList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(0)).center());
        QVERIFY(h.program().ProgramSaved);
        QTest::mouseClick(h.offField(), Qt::LeftButton);
        QVERIFY(h.offField()->hasFocus());
        QCOMPARE(h.offField()->selectedText(), QStringLiteral("020"));
        h.type(QStringLiteral("40"));
        h.key(Qt::Key_Return);
        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 010 040")});
        QVERIFY(!h.program().ProgramSaved);
    }

    // Closing the fields (a menu opening, a click on the background) drops an entry that
    // was never finished: nothing is applied.
    void closingTheFieldsAppliesNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("menu opens") << 0;
        QTest::newRow("background click") << 1;
        QTest::newRow("another row clicked") << 2;
    }
    void closingTheFieldsAppliesNothing() {
        QFETCH(int, how);
        EditorHarness h;
        h.window.actions().GoPrCam->trigger();
        h.type(QStringLiteral("90"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("180"));
        if (how == 0)
            emit h.window.host().menuOpening();
        else if (how == 1)
            QTest::mouseClick(h.editor(), Qt::LeftButton, {}, QPoint(5, h.editor()->height() - 5));
        else
            h.clickRow(4);
        QVERIFY(h.onField()->isHidden());
        QVERIFY(h.offField()->isHidden());
        QVERIFY(h.label(QStringLiteral("LGRAD"))->isHidden());
        QVERIFY(onDegrees(h.program(), 1, 1).isEmpty());
        QVERIFY(!h.undo()->isEnabled());
    }

    // Another cam or format shown keeps the history: Undo goes back to the entry's cam.
    void changingCamOrFormatKeepsUndo_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("row click") << 0;
        QTest::newRow("Page Down") << 1;
        QTest::newRow("next format") << 2;
    }
    void changingCamOrFormatKeepsUndo() {
        QFETCH(int, how);
        EditorHarness h;
        enter(h, QStringLiteral("1"), QStringLiteral("2"));
        QVERIFY(h.undo()->isEnabled());
        // Re-selecting the same cam keeps it.
        h.clickRow(1);
        QVERIFY(h.undo()->isEnabled());
        if (how == 0)
            h.clickRow(2);
        else if (how == 1)
            h.key(Qt::Key_PageDown);
        else {
            QWidget* stepper = h.find(QStringLiteral("Picture1"));
            QTest::mouseClick(stepper, Qt::LeftButton, {},
                              QPoint(stepper->width() - 3, stepper->height() / 2));
            QCOMPARE(h.program().CurrentFormat, 2);
        }
        QVERIFY(h.undo()->isEnabled());
        h.undo()->trigger();
        QCOMPARE(h.program().CurrentFormat, 1);
        QCOMPARE(h.program().CurrentCam, 1);
        QCOMPARE(h.phaseItems(), QStringList{});
    }

    // The cam asked for is made current before its fields open, so the entry lands in the
    // cam whose phases are listed.
    void openingAnotherCamShowsItFirst() {
        EditorHarness h;
        putRuns(h.program(), 1, 7, {{90, 179}, {200, 209}});
        h.window.host().openCamEditor(7);
        QCOMPARE(h.program().CurrentCam, 7);
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 07"));
        QCOMPARE(h.onField()->text(), QStringLiteral("090"));
        QCOMPARE(h.offField()->text(), QStringLiteral("180"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("100"));
        h.key(Qt::Key_Return);
        QCOMPARE(onDegrees(h.program(), 1, 7), degreesOf({{90, 99}, {200, 209}}));
    }
};

QTEST_MAIN(TestPhaseEntry)
#include "tst_phaseentry.moc"
