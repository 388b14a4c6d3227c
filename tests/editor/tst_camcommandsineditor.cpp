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

    void selectSizeAfterAnEntryTakesUndoAway() {
        EditorHarness h;
        h.clickRow(2);
        h.window.actions().o_MODC->trigger();
        h.type(QStringLiteral("090"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("180"));
        h.key(Qt::Key_Return);
        QVERIFY(h.undo()->isEnabled());
        h.ts.prompts.expectInput(QStringLiteral("T20 1- 6"), QStringLiteral("4"));
        h.window.actions().S_Sel->trigger();
        QCOMPARE(h.program().CurrentFormat, 4);
        QVERIFY(!h.undo()->isEnabled());
        QCOMPARE(h.label(QStringLiteral("LFORM"))->text(), QStringLiteral("T7404"));
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
