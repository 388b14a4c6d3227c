#include "support/CamRuns.h"
#include "support/EditorHarness.h"

#include <QSignalSpy>

using CamRuns::Runs;

// The cam commands against the real editor: phases typed into the ON/OFF fields, the
// phase list and the diagram redrawn by the commands.
class TestCamCommandsInEditor : public QObject {
    Q_OBJECT
private slots:
    void modifyCamThenUndoTheEntry() {
        EditorHarness h;
        CamProgram& p = h.program();
        CamRuns::Fill(p, 1, 3, {{10, 49}, {100, 149}});
        h.clickRow(3);
        QCOMPARE(p.CurrentCam, 3);
        h.window.actions().o_MODC->trigger();
        QVERIFY(!h.onField()->isHidden());
        QVERIFY(h.onField()->hasFocus());
        h.type(QStringLiteral("040"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("120"));
        h.key(Qt::Key_Return);
        QCOMPARE(h.phaseItems(), QStringList{"F001 040 120"});
        QVERIFY(h.undo()->isEnabled());

        h.undo()->trigger();
        QCOMPARE(CamRuns::Of(p, 1, 3), (Runs{{10, 49}, {100, 149}}));
        QCOMPARE(h.phaseItems(), (QStringList{"F001 010 050", "F002 100 150"}));
        QVERIFY(!h.undo()->isEnabled());
    }

    void copyAndShiftRedrawTheList() {
        EditorHarness h;
        CamProgram& p = h.program();
        CamRuns::Fill(p, 1, 5, {{10, 19}});
        h.clickRow(5);
        h.ts.prompts.expectInput(QStringLiteral("T27 5"), QStringLiteral("725"));
        h.window.actions().O_Shc->trigger();
        QCOMPARE(h.phaseItems(), QStringList{"F001 015 025"});
        h.ts.prompts.expectInput(QStringLiteral("T24 5T25 24"), QStringLiteral("3"));
        h.window.actions().O_CopyC->trigger();
        QCOMPARE(CamRuns::Of(p, 1, 3), (Runs{{15, 24}}));
        QCOMPARE(p.CurrentCam, 5);
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
    }

    // A glance at the next cam keeps the history: Undo shows cam 3 while it takes the
    // three phases back, latest first.
    void undoAfterPageDownAndUpTakesBackThePhases() {
        EditorHarness h;
        h.clickRow(3);
        const QStringList entered{"010 020", "030 040", "050 060"};
        for (const QString& phase : entered) {
            h.window.actions().o_MODC->trigger();
            h.type(phase.left(3));
            h.key(Qt::Key_Tab);
            h.type(phase.right(3));
            h.key(Qt::Key_Return);
        }
        h.key(Qt::Key_PageDown);
        QCOMPARE(h.program().CurrentCam, 4);
        h.key(Qt::Key_PageUp);
        h.key(Qt::Key_PageDown);
        QVERIFY(h.undo()->isEnabled());
        QStringList items{"F001 010 020", "F002 030 040", "F003 050 060"};
        while (!items.isEmpty()) {
            items.removeLast();
            h.undo()->trigger();
            QCOMPARE(h.program().CurrentCam, 3);
            QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 03"));
            QCOMPARE(h.phaseItems(), items);
        }
        QVERIFY(!h.undo()->isEnabled());
        QVERIFY(h.program().ProgramSaved);
    }

    // Erase Size is taken back whole, and the size it erased is shown again.
    void undoAfterEraseSizeBringsTheSizeBack() {
        EditorHarness h;
        CamProgram& p = h.program();
        CamRuns::Fill(p, 2, 1, {{10, 19}});
        CamRuns::Fill(p, 2, 7, {{100, 199}});
        h.ts.prompts.expectInput(QStringLiteral("T20 1- 6"), QStringLiteral("2"));
        h.window.actions().S_Sel->trigger();
        h.ts.prompts.expectMessage(QStringLiteral("T2 2'?"), Prompts::Answer::Yes);
        h.window.actions().s_Clr->trigger();
        QVERIFY(CamRuns::Of(p, 2, 7).isEmpty());
        h.ts.prompts.expectInput(QStringLiteral("T20 1- 6"), QStringLiteral("5"));
        h.window.actions().S_Sel->trigger();

        h.undo()->trigger();
        QCOMPARE(p.CurrentFormat, 2);
        QCOMPARE(h.label(QStringLiteral("LFORM"))->text(), QStringLiteral("T7402"));
        QCOMPARE(CamRuns::Of(p, 2, 1), (Runs{{10, 19}}));
        QCOMPARE(CamRuns::Of(p, 2, 7), (Runs{{100, 199}}));
        QCOMPARE(h.phaseItems(), QStringList{"F001 010 020"});
        QVERIFY(h.window.actions().o_Redo->isEnabled());
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
    }

    // Delete and Ctrl+Insert belong to the field being typed in, not to Erase and Modify Cam.
    void editingKeysStayInTheEntryFields() {
        EditorHarness h;
        CamProgram& p = h.program();
        CamRuns::Fill(p, 1, 1, {{10, 19}});
        h.window.actions().o_MODC->trigger();
        QVERIFY(h.onField()->hasFocus());
        h.onField()->setCursorPosition(0);
        h.key(Qt::Key_Delete);
        QTest::keyClick(h.onField(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(CamRuns::Of(p, 1, 1), (Runs{{10, 19}}));
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
        QVERIFY(h.ts.prompts.messages().isEmpty());
    }

    void deleteOutsideTheFieldsAsksToEraseTheCam() {
        EditorHarness h;
        h.clickRow(2);
        h.ts.prompts.expectMessage(QStringLiteral("T15 2'?"), Prompts::Answer::No);
        h.key(Qt::Key_Delete);
        QVERIFY2(h.ts.prompts.allShown(), qPrintable(h.ts.prompts.problems()));
    }
};

QTEST_MAIN(TestCamCommandsInEditor)
#include "tst_camcommandsineditor.moc"
