#include "support/EditorHarness.h"

#include <QTimer>
#include <QToolBar>

namespace {
void putRun(CamProgram& p, int format, int cam, int first, int last) {
    for (int d = first; d <= last; ++d)
        p.WriteDegree(format, cam, d, 1);
}
} // namespace

class TestCamList : public QObject {
    Q_OBJECT

    static QWidget* goPrCamButton(EditorHarness& h) {
        QToolBar* bar = h.window.findChild<QToolBar*>();
        return bar ? bar->widgetForAction(h.window.actions().GoPrCam) : nullptr;
    }

private slots:
    // A click anywhere on a row's bar, or on its name, selects that cam.
    void clickSelects_data() {
        QTest::addColumn<bool>("onName");
        QTest::addColumn<int>("x");
        QTest::newRow("bar start") << false << 40;
        QTest::newRow("bar end") << false << 380;
        QTest::newRow("name") << true << 10;
    }
    void clickSelects() {
        QFETCH(bool, onName);
        QFETCH(int, x);
        EditorHarness h;
        putRun(h.program(), 1, 5, 90, 179);
        h.window.actions().GoPrCam->trigger();
        QVERIFY(!h.onField()->isHidden());
        QLabel* target = onName ? h.nameLabel(5) : h.rowLabel(5);
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(qMin(x, target->width() - 1), 5));
        QCOMPARE(h.program().CurrentCam, 5);
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 05"));
        QCOMPARE(h.phaseItems(), QStringList{QStringLiteral("F001 090 180")});
        QVERIFY(h.onField()->isHidden());
        QVERIFY(goPrCamButton(h));
        QVERIFY(goPrCamButton(h)->hasFocus());
        QCOMPARE(h.nameLabel(5)->palette().color(h.nameLabel(5)->backgroundRole()),
                 QColor(255, 255, 0));
        QCOMPARE(h.nameLabel(1)->palette().color(h.nameLabel(1)->backgroundRole()),
                 QColor(255, 255, 255));
    }

    void doubleClickOpensTheFirstPhase_data() {
        QTest::addColumn<bool>("withPhases");
        QTest::addColumn<QString>("on");
        QTest::addColumn<QString>("off");
        QTest::newRow("empty cam") << false << "000"
                                   << "000";
        QTest::newRow("90..180 and 200..210") << true << "090"
                                              << "180";
    }
    void doubleClickOpensTheFirstPhase() {
        QFETCH(bool, withPhases);
        QFETCH(QString, on);
        QFETCH(QString, off);
        EditorHarness h;
        putRun(h.program(), 1, 1, 20, 29); // cam 1's phases must not leak into cam 6
        if (withPhases) {
            putRun(h.program(), 1, 6, 90, 179);
            putRun(h.program(), 1, 6, 200, 209);
        }
        h.window.host().redrawFormat();
        h.doubleClickRow(6);
        QCOMPARE(h.program().CurrentCam, 6);
        QVERIFY(!h.onField()->isHidden());
        QVERIFY(h.onField()->hasFocus());
        QCOMPARE(h.onField()->text(), on);
        QCOMPARE(h.offField()->text(), off);
    }

    void goPrCamEditsTheCurrentCam() {
        EditorHarness h;
        putRun(h.program(), 1, 4, 300, 359);
        h.clickRow(4);
        h.window.actions().GoPrCam->trigger();
        QVERIFY(h.onField()->hasFocus());
        QCOMPARE(h.onField()->text(), QStringLiteral("300"));
        QCOMPARE(h.offField()->text(), QStringLiteral("000"));
    }

    void windowKeys_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("Page Up") << 24 << 5 << int(Qt::Key_PageUp) << 4;
        QTest::newRow("Page Up wraps") << 24 << 1 << int(Qt::Key_PageUp) << 24;
        QTest::newRow("Page Up wraps at 8") << 8 << 1 << int(Qt::Key_PageUp) << 8;
        QTest::newRow("Page Down") << 24 << 5 << int(Qt::Key_PageDown) << 6;
        QTest::newRow("Page Down wraps") << 16 << 16 << int(Qt::Key_PageDown) << 1;
        QTest::newRow("End") << 16 << 3 << int(Qt::Key_End) << 16;
        QTest::newRow("Home") << 24 << 13 << int(Qt::Key_Home) << 1;
        QTest::newRow("Left") << 24 << 7 << int(Qt::Key_Left) << 7;
        QTest::newRow("Right") << 24 << 7 << int(Qt::Key_Right) << 7;
        QTest::newRow("Up does nothing") << 24 << 7 << int(Qt::Key_Up) << 7;
        QTest::newRow("Down does nothing") << 24 << 7 << int(Qt::Key_Down) << 7;
    }
    void windowKeys() {
        QFETCH(int, cams);
        QFETCH(int, start);
        QFETCH(int, key);
        QFETCH(int, expected);
        EditorHarness h;
        if (cams != 24)
            QVERIFY(h.program().Reconfigure(cams, CamProgram::SmallFormatCount(cams), false));
        h.clickRow(start);
        QCOMPARE(h.program().CurrentCam, start);
        h.key(Qt::Key(key));
        QCOMPARE(h.program().CurrentCam, expected);
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(),
                 QStringLiteral("C ") + QString::number(expected).rightJustified(2, '0'));
    }

    // Keys typed into the angle and name fields stay there.
    void windowKeysLeaveTheFieldsAlone_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::newRow("ON Page Down") << "GradiON" << int(Qt::Key_PageDown);
        QTest::newRow("ON Home") << "GradiON" << int(Qt::Key_Home);
        QTest::newRow("OFF Page Up") << "GradiOFF" << int(Qt::Key_PageUp);
        QTest::newRow("OFF End") << "GradiOFF" << int(Qt::Key_End);
        QTest::newRow("name Page Down") << "DEFINCAM" << int(Qt::Key_PageDown);
        QTest::newRow("name Left") << "DEFINCAM" << int(Qt::Key_Left);
    }
    void windowKeysLeaveTheFieldsAlone() {
        QFETCH(QString, field);
        QFETCH(int, key);
        EditorHarness h;
        h.clickRow(3);
        if (field == QLatin1String("DEFINCAM")) {
            QTest::mouseDClick(h.nameLabel(3), Qt::LeftButton);
        } else {
            h.window.actions().GoPrCam->trigger();
            if (field == QLatin1String("GradiOFF"))
                h.key(Qt::Key_Tab);
        }
        QLineEdit* edit = h.find<QLineEdit>(field);
        QVERIFY(edit->hasFocus());
        h.key(Qt::Key(key));
        QCOMPARE(h.program().CurrentCam, 3);
        QVERIFY(edit->hasFocus());
        QVERIFY(!edit->isHidden());
    }

    // Name rules: stored trimmed; leaving a blank field keeps the old name; Enter on an
    // empty field empties it.
    void names_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave"); // Enter, Tab or click
        QTest::addColumn<QString>("stored");
        QTest::newRow("PUMP with blanks, Tab") << "  PUMP  "
                                               << "Tab"
                                               << "PUMP";
        QTest::newRow("PUMP with blanks, Enter") << "  PUMP  "
                                                 << "Enter"
                                                 << "PUMP";
        QTest::newRow("PUMP, click elsewhere") << "PUMP"
                                               << "click"
                                               << "PUMP";
        QTest::newRow("empty, click elsewhere") << ""
                                                << "click"
                                                << "OLD";
        QTest::newRow("blanks, Tab") << "    "
                                     << "Tab"
                                     << "OLD";
        QTest::newRow("empty, Enter") << ""
                                      << "Enter"
                                      << "";
        QTest::newRow("blanks, Enter") << "   "
                                       << "Enter"
                                       << "";
        QTest::newRow("unchanged, Enter") << "OLD"
                                          << "Enter"
                                          << "OLD";
        QTest::newRow("14 characters at most") << "ABCDEFGHIJKLMNOPQRST"
                                               << "Enter"
                                               << "ABCDEFGHIJKLMN";
    }
    void names() {
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QString, stored);
        EditorHarness h;
        h.program().SetCamName(3, QStringLiteral("OLD"));
        h.program().SetCamName(4, QStringLiteral("KEEP"));
        h.window.host().redrawFormat();
        QTest::mouseClick(h.nameLabel(3), Qt::LeftButton);
        QTest::mouseDClick(h.nameLabel(3), Qt::LeftButton);
        QLineEdit* field = h.nameField();
        QVERIFY(!field->isHidden());
        QVERIFY(!h.label(QStringLiteral("LDEFINCAM"))->isHidden());
        QVERIFY(field->hasFocus());
        QCOMPARE(field->text(), QStringLiteral("OLD"));
        QCOMPARE(field->selectedText(), QStringLiteral("OLD"));
        h.key(Qt::Key_Backspace);
        h.type(typed);
        QVERIFY(h.program().ProgramSaved);
        if (leave == QLatin1String("Enter"))
            h.key(Qt::Key_Return);
        else if (leave == QLatin1String("Tab"))
            h.key(Qt::Key_Tab);
        else
            QTest::mouseClick(h.editor(), Qt::LeftButton, {}, QPoint(3, h.editor()->height() - 3));
        QCOMPARE(h.program().CamName(3), stored);
        QCOMPARE(h.nameLabel(3)->text(), stored);
        QCOMPARE(h.program().CamName(4), QStringLiteral("KEEP"));
        QVERIFY(field->isHidden());
        QVERIFY(h.label(QStringLiteral("LDEFINCAM"))->isHidden());
        // Renaming marks the program changed, even when the name stayed the same.
        QVERIFY(!h.program().ProgramSaved);
    }

    // A name belongs to the cam number, in every format.
    void aNameIsSharedByAllFormats() {
        EditorHarness h;
        h.clickRow(2);
        QTest::mouseDClick(h.nameLabel(2), Qt::LeftButton);
        h.type(QStringLiteral("VALVE"));
        h.key(Qt::Key_Return);
        QWidget* stepper = h.find(QStringLiteral("Picture1"));
        QTest::mouseClick(stepper, Qt::LeftButton, {}, QPoint(stepper->width() - 3, 5));
        QCOMPARE(h.program().CurrentFormat, 2);
        QCOMPARE(h.nameLabel(2)->text(), QStringLiteral("VALVE"));
    }

    // At most one group of fields is open at a time.
    void nameAndAngleFieldsExcludeEachOther() {
        EditorHarness h;
        h.clickRow(2);
        h.window.actions().GoPrCam->trigger();
        QVERIFY(!h.onField()->isHidden());
        QTest::mouseDClick(h.nameLabel(2), Qt::LeftButton);
        QVERIFY(h.nameField()->hasFocus());
        QVERIFY(h.onField()->isHidden());
        QVERIFY(h.offField()->isHidden());
        QVERIFY(h.label(QStringLiteral("LGRAD"))->isHidden());
        h.type(QStringLiteral("X"));
        h.window.actions().GoPrCam->trigger();
        QVERIFY(h.nameField()->isHidden());
        QVERIFY(h.label(QStringLiteral("LDEFINCAM"))->isHidden());
        QVERIFY(h.onField()->hasFocus());
        QCOMPARE(h.program().CamName(2), QStringLiteral("X"));
    }

    // A double click on another cam's name renames that cam, not the one that was current.
    void renamingAnotherCamSelectsItFirst() {
        EditorHarness h;
        h.clickRow(1);
        QTest::mouseDClick(h.nameLabel(9), Qt::LeftButton);
        QCOMPARE(h.program().CurrentCam, 9);
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 09"));
        h.type(QStringLiteral("NINE"));
        h.key(Qt::Key_Return);
        QCOMPARE(h.program().CamName(9), QStringLiteral("NINE"));
        QVERIFY(h.program().CamName(1).isEmpty());
    }

    // A modal window that closes hands the keyboard back: the window keys work at once,
    // without a click on the main window first.
    void windowKeysWorkAfterAModalWindow() {
        EditorHarness h;
        QTimer::singleShot(0, &h.window, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        h.window.actions().INF->trigger();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        h.key(Qt::Key_PageDown);
        QCOMPARE(h.program().CurrentCam, 2);
    }
};

QTEST_MAIN(TestCamList)
#include "tst_camlist.moc"
