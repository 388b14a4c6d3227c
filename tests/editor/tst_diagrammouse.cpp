#include "editor/DiagramGeometry.h"
#include "support/CamRuns.h"
#include "support/EditorHarness.h"

#include <QDialog>
#include <QMouseEvent>
#include <QTimer>

using CamRuns::Runs;

namespace {
// The point of row's caption (it lies over the bar) above degree position p of the bar;
// beyond adds pixels past it.
QPoint onBar(EditorHarness& h, int row, int p, int beyond = 0) {
    const QRect bar = h.bar(row)->geometry();
    const double scale = DiagramGeometry::DegreeScale(bar.width(), 1);
    const QPoint at(DiagramGeometry::DegreeToX(bar.x(), scale, p) + beyond, bar.center().y());
    return h.rowLabel(row)->mapFrom(h.editor(), at);
}

// Press at from, move through the positions given, release at the last one. Gives the
// degrees shown beside the pointer just before the release.
QString drag(EditorHarness& h, int row, int from, QList<int> through,
             Qt::KeyboardModifiers mods = {}) {
    QWidget* label = h.rowLabel(row);
    QTest::mousePress(label, Qt::LeftButton, mods, onBar(h, row, from));
    for (int p : through) {
        if (mods == Qt::NoModifier) {
            QTest::mouseMove(label, onBar(h, row, p));
            continue;
        }
        // A move with Shift held: the test's own move carries no keys.
        const QPoint at = onBar(h, row, p);
        QMouseEvent move(QEvent::MouseMove, at, label->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, mods);
        QApplication::sendEvent(label, &move);
    }
    auto* pointer = h.editor()->findChild<QLabel*>(QStringLiteral("DragDegrees"));
    const QString shown = pointer && pointer->isVisible() ? pointer->text() : QString();
    QTest::mouseRelease(label, Qt::LeftButton, mods, onBar(h, row, through.last()));
    if (pointer && pointer->isVisible())
        QTest::qFail("the pointer's degrees stay after the release", __FILE__, __LINE__);
    return shown;
}

QColor pixelAt(EditorHarness& h, int row, int degree) {
    const QPoint at = h.rowLabel(row)->mapTo(h.editor(), onBar(h, row, degree));
    return h.grabEditor().pixelColor(at);
}
} // namespace

class TestDiagramMouse : public QObject {
    Q_OBJECT
private slots:
    // A drag on cam 3's bar makes cam 3 current and enters the phase as typed.
    void drawAPhase_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("through");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("pointer"); // the degrees beside it before the release
        QTest::newRow("90 to 180") << 90 << QList<int>{120, 180} << false
                                   << QStringList{"F001 090 180"} << "090 \u2192 180";
        QTest::newRow("Shift snaps 92..178")
            << 92 << QList<int>{178} << true << QStringList{"F001 090 180"} << "090 \u2192 180";
        QTest::newRow("a click is no delete")
            << 100 << QList<int>{100} << false << QStringList{"F001 010 020", "F002 090 180"}
            << "100 \u2192 100";
    }
    void drawAPhase() {
        QFETCH(int, from);
        QFETCH(QList<int>, through);
        QFETCH(bool, shift);
        QFETCH(QStringList, items);
        QFETCH(QString, pointer);
        EditorHarness h;
        const bool click = items.size() == 2;
        if (click)
            CamRuns::Fill(h.program(), 1, 3, {{10, 19}, {90, 179}});
        h.window.host().redrawFormat();
        h.program().MarkSaved();
        QCOMPARE(drag(h, 3, from, through, shift ? Qt::ShiftModifier : Qt::NoModifier), pointer);
        QCOMPARE(h.program().CurrentCam, 3);
        QCOMPARE(h.phaseItems(), items);
        QCOMPARE(h.program().ProgramSaved, click);
        QCOMPARE(h.undo()->isEnabled(), !click);
    }

    // The OFF edge dragged from 180 to 200, then Ctrl+Z twice and Ctrl+Shift+Z once.
    void dragAnEdgeThenUndoAndRedo() {
        EditorHarness h;
        drag(h, 3, 90, {180});
        QCOMPARE(drag(h, 3, 180, {190, 200}), QStringLiteral("200"));
        QCOMPARE(h.phaseItems(), QStringList{"F001 090 200"});
        QCOMPARE(CamRuns::Of(h.program(), 1, 3), (Runs{{90, 199}}));
        QTest::keyClick(&h.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.phaseItems(), QStringList{"F001 090 180"});
        QTest::keyClick(&h.window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.phaseItems(), QStringList{});
        QVERIFY(!h.undo()->isEnabled());
        QTest::keyClick(&h.window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(h.phaseItems(), QStringList{"F001 090 180"});
        QVERIFY(h.undo()->isEnabled());
        QVERIFY(h.window.actions().o_Redo->isEnabled());
        // A typed entry is the next step of the same history and drops what could be redone.
        h.window.actions().GoPrCam->trigger();
        h.type(QStringLiteral("300"));
        h.key(Qt::Key_Tab);
        h.type(QStringLiteral("310"));
        h.key(Qt::Key_Return);
        QVERIFY(!h.window.actions().o_Redo->isEnabled());
        QCOMPARE(h.phaseItems(), (QStringList{"F001 090 180", "F002 300 310"}));
    }

    // Leftwards through 0 only after passing the bar's end.
    void throughZeroAfterPassingTheEnd() {
        EditorHarness h;
        QWidget* label = h.rowLabel(2);
        QTest::mousePress(label, Qt::LeftButton, {}, onBar(h, 2, 300));
        QTest::mouseMove(label, onBar(h, 2, 360, 4));
        QTest::mouseMove(label, onBar(h, 2, 30));
        // The row already shows the phase the release enters; the model has not changed.
        QCOMPARE(pixelAt(h, 2, 10), QColor(Qt::black));
        QVERIFY(CamRuns::Of(h.program(), 1, 2).isEmpty());
        QTest::mouseRelease(label, Qt::LeftButton, {}, onBar(h, 2, 30));
        QCOMPARE(h.phaseItems(), QStringList{"F001 300 030"});
        QCOMPARE(pixelAt(h, 2, 10), QColor(Qt::blue));
    }

    // Esc, leaving the window or a modal window halfway change nothing, nor does a drag
    // that starts beside the bar.
    void interruptedDragsChangeNothing_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Esc") << 0;
        QTest::newRow("out of the window") << 1;
        QTest::newRow("a modal window") << 2;
        QTest::newRow("started on the row number") << 3;
    }
    void interruptedDragsChangeNothing() {
        QFETCH(int, how);
        EditorHarness h;
        CamRuns::Fill(h.program(), 1, 4, {{90, 179}});
        h.window.host().redrawFormat();
        h.program().MarkSaved();
        QWidget* label = h.rowLabel(4);
        const QPoint start = how == 3 ? QPoint(2, label->height() / 2) : onBar(h, 4, 180);
        QTest::mousePress(label, Qt::LeftButton, {}, start);
        QTest::mouseMove(label, onBar(h, 4, 250));
        if (how == 0) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &h.window,
                            Qt::Key_Escape);
        } else if (how == 1) {
            QTest::mouseMove(label, label->mapFrom(&h.window, QPoint(h.window.width() + 40, 5)));
        } else if (how == 2) {
            QDialog modal(&h.window);
            modal.setModal(true);
            modal.show();
            QVERIFY(QTest::qWaitForWindowExposed(&modal));
            modal.close();
        }
        QTest::mouseRelease(label, Qt::LeftButton, {}, onBar(h, 4, 250));
        QCOMPARE(CamRuns::Of(h.program(), 1, 4), (Runs{{90, 179}}));
        QVERIFY(h.program().ProgramSaved);
        QVERIFY(!h.undo()->isEnabled());
    }

    // Over a bar the pointer reads its cam and degree, and that degree's column is marked.
    void readoutFollowsThePointer() {
        EditorHarness h;
        const QColor before = pixelAt(h, 7, 127);
        QTest::mouseMove(h.rowLabel(5), onBar(h, 5, 127));
        QCOMPARE(h.label(QStringLiteral("StDegree"))->text(),
                 QString::fromUtf8("C 05 \u00B7 127\u00B0"));
        // The column runs through every row, not only the one under the pointer.
        QVERIFY(pixelAt(h, 7, 127) != before);
        QCOMPARE(pixelAt(h, 7, 140), before);
        QTest::mouseMove(h.rowLabel(5), QPoint(2, 2));
        QCOMPARE(h.label(QStringLiteral("StDegree"))->text(), QString());
    }
};

QTEST_MAIN(TestDiagramMouse)
#include "tst_diagrammouse.moc"
