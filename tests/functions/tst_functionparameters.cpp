#include "app/AppWindow.h"
#include "functions/gui/FunctionParametersWindow.h"
#include "support/TestSession.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

// Opens FUN through Fu&nctions and runs body on it while it is shown modally. Whatever
// body leaves open is closed afterwards, so a failing check never hangs the test.
static void withFunctions(MainWindow& window, const std::function<void(QDialog&)>& body) {
    bool ran = false;
    QTimer::singleShot(0, &window, [&] {
        auto* fun = window.findChild<QDialog*>(QStringLiteral("FUN"));
        if (!fun) {
            QTest::qFail("FUN did not open", __FILE__, __LINE__);
            return;
        }
        fun->activateWindow();
        QApplication::setActiveWindow(fun);
        ran = true;
        body(*fun);
        if (fun->isVisible())
            fun->done(QDialog::Rejected);
    });
    window.actions().Fu_Set->trigger();
    QVERIFY(ran);
}

static QLineEdit* field(QDialog& fun, int n) {
    return fun.findChild<QLineEdit*>(QStringLiteral("PARAM(%1)").arg(n));
}

static QLabel* caption(QDialog& fun, int i) {
    return fun.findChild<QLabel*>(QStringLiteral("LANT(%1)").arg(i));
}

static QRadioButton* mode(QDialog& fun, int k) {
    return fun.findChild<QRadioButton*>(QStringLiteral("Opt_AN(%1)").arg(k));
}

static void click(QDialog& fun, const char* button) {
    QTest::mouseClick(fun.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

// Types text into a field as the operator does: focus in (which selects the old value),
// then the keys.
static void type(QDialog& fun, int n, const QString& text) {
    QLineEdit* f = field(fun, n);
    f->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(f, text);
}

// The captions of the advance entries on show, in order.
static QStringList shownCaptions(QDialog& fun, int camCount) {
    QStringList shown;
    for (int i = 0; i < camCount; ++i) {
        if (field(fun, i)->isVisibleTo(&fun)) {
            shown.append(caption(fun, i)->isVisibleTo(&fun) ? caption(fun, i)->text()
                                                            : QStringLiteral("<no caption>"));
        }
    }
    return shown;
}

class TestFunctionParameters : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheProgramsParameters() {
        TestSession t;
        AppWindow window(t.session);
        FunctionParameters& fp = t.session.program.Parameters;
        fp.AdvanceCount = 12;
        for (int k = 0; k < 12; ++k)
            fp.CamAdvance[std::size_t(k)] = uint8_t(k * 10 + 1);
        fp.OutputFormat = 3;
        fp.EncoderShift = 45;
        fp.RotationSense = 1;
        fp.SpeedLimit = 7;
        t.session.program.SetCamName(3, QStringLiteral("PUMP"));
        QSignalSpy hides(&window.host(), &WindowHost::hideEditorsRequested);
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        withFunctions(window, [&](QDialog& fun) {
            QCOMPARE(hides.count(), 1);
            QCOMPARE(field(fun, 100)->text(), QStringLiteral("03"));
            QCOMPARE(field(fun, 101)->text(), QStringLiteral("045"));
            QCOMPARE(field(fun, 102)->text(), QStringLiteral("1"));
            QCOMPARE(field(fun, 103)->text(), QStringLiteral("007"));
            QVERIFY(mode(fun, 2)->isChecked());
            QCOMPARE(fun.findChild<QLabel*>(QStringLiteral("LDefC(2)"))->text(),
                     QStringLiteral("PUMP"));
            QCOMPARE(field(fun, 0)->text(), QStringLiteral("001"));
            QCOMPARE(field(fun, 2)->text(), QStringLiteral("011"));
            QCOMPARE(field(fun, 22)->text(), QStringLiteral("111"));
            QCOMPARE(fun.findChild<QLabel*>(QStringLiteral("L_Sfas"))->text(),
                     QStringLiteral("T86"));
            QCOMPARE(mode(fun, 3)->text(), QStringLiteral("T137"));
            click(fun, "C_OK");
            QVERIFY(!fun.isVisible());
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QVERIFY(t.session.program.ProgramSaved);
        QCOMPARE(redraws.count(), 1);
    }

    void advanceEntriesPerMode_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("captions");
        QStringList fours;
        for (int g = 0; g < 6; ++g)
            fours.append(QStringLiteral("T84 %1-%2 ms.")
                             .arg(g * 4 + 1, 2, 10, QLatin1Char('0'))
                             .arg(g * 4 + 4, 2, 10, QLatin1Char('0')));
        QTest::newRow("24 cams, groups of 4") << 24 << 6 << 1 << fours;
        QTest::newRow("8 cams, groups of 4")
            << 8 << 21 << 1 << QStringList{"T84 01-04 ms.", "T84 05-08 ms."};
        QTest::newRow("8 cams, groups of 2")
            << 8 << 21 << 2
            << QStringList{"T84 01-02 ms.", "T84 03-04 ms.", "T84 05-06 ms.", "T84 07-08 ms."};
        QTest::newRow("8 cams, one each")
            << 8 << 89 << 3 << QStringList{"T8201 ms.", "T8202 ms.", "T8203 ms.", "T8204 ms.",
                                           "T8205 ms.", "T8206 ms.", "T8207 ms.", "T8208 ms."};
        QTest::newRow("16 cams, none") << 16 << 10 << 0 << QStringList{};
    }
    void advanceEntriesPerMode() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(int, mode);
        QFETCH(QStringList, captions);
        TestSession t;
        CamProgram& p = t.session.program;
        QVERIFY(p.Reconfigure(cams, formats, false));
        p.Parameters.AdvanceCount = int16_t(cams); // start from one entry per cam
        std::fill(p.Parameters.CamAdvance.begin(), p.Parameters.CamAdvance.end(), 99);
        AppWindow window(t.session);
        const int groups = int(captions.size());
        withFunctions(window, [&](QDialog& fun) {
            QTest::mouseClick(::mode(fun, mode), Qt::LeftButton);
            QCOMPARE(shownCaptions(fun, cams), captions);
            const int step = groups ? cams / groups : 1;
            for (int g = 0; g < groups; ++g)
                type(fun, g * step, QString::number(g + 1) + QStringLiteral("0"));
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::Yes);
            click(fun, "C_OK");
            QVERIFY(!fun.isVisible());
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(int(p.Parameters.AdvanceCount), groups);
        for (int g = 0; g < groups; ++g)
            QCOMPARE(int(p.Parameters.CamAdvance[std::size_t(g)]), (g + 1) * 10);
        // Entries the count does not use keep what they held.
        for (int k = groups; k < cams; ++k)
            QCOMPARE(int(p.Parameters.CamAdvance[std::size_t(k)]), 99);
        QVERIFY(!p.ProgramSaved);
    }

    // Only the rows of the entries in use, on screen and without an empty area.
    void rowsFitTheirEntries_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("rows");
        QTest::newRow("24 rows") << 24 << 3 << 24;
        QTest::newRow("8 rows fit") << 8 << 3 << 8;
        QTest::newRow("no advance") << 8 << 0 << 0;
    }
    void rowsFitTheirEntries() {
        QFETCH(int, cams);
        QFETCH(int, mode);
        QFETCH(int, rows);
        TestSession t;
        t.session.program.Reconfigure(cams, cams == 8 ? 21 : 6, false);
        AppWindow window(t.session);
        withFunctions(window, [&](QDialog& fun) {
            QTest::mouseClick(::mode(fun, mode), Qt::LeftButton);
            QCOMPARE(shownCaptions(fun, cams).size(), rows);
            auto* area = fun.findChild<QScrollArea*>(QStringLiteral("AdvanceRows"));
            QCOMPARE(area->isVisibleTo(&fun), rows > 0);
            // Rows that do not fit the screen scroll; those that fit leave no empty area.
            QVERIFY(fun.screen()->availableGeometry().contains(fun.geometry()));
            if (rows > 0 && area->verticalScrollBar()->maximum() == 0)
                QVERIFY(area->viewport()->height() <= area->widget()->sizeHint().height());
            t.prompts.setLenient(true);
            fun.done(QDialog::Rejected);
        });
    }

    // How a value above the field's limit is cut: on leaving the field, on Tab and on Enter.
    void valuesAreCutToTheFieldsMaximum_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("advance 250, focus lost") << 0 << "250"
                                                 << "focus"
                                                 << "210" << 210;
        QTest::newRow("advance 211, tab") << 0 << "211"
                                          << "tab"
                                          << "210" << 210;
        QTest::newRow("advance 7, tab") << 0 << "7"
                                        << "tab"
                                        << "007" << 7;
        QTest::newRow("encoder 400, enter") << 101 << "400"
                                            << "enter"
                                            << "359" << 359;
        QTest::newRow("encoder 359, enter") << 101 << "359"
                                            << "enter"
                                            << "359" << 359;
        QTest::newRow("output format 9 of 6") << 100 << "9"
                                              << "focus"
                                              << "06" << 6;
        QTest::newRow("output format 4") << 100 << "4"
                                         << "tab"
                                         << "04" << 4;
        QTest::newRow("rotation 5") << 102 << "5"
                                    << "enter"
                                    << "1" << 1;
        QTest::newRow("speed 999") << 103 << "999"
                                   << "tab"
                                   << "999" << 999;
        QTest::newRow("letters refused") << 103 << "a1b2"
                                         << "focus"
                                         << "012" << 12;
    }
    void valuesAreCutToTheFieldsMaximum() {
        QFETCH(int, field);
        QFETCH(QString, typed);
        QFETCH(QString, leave);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        TestSession t;
        AppWindow window(t.session);
        t.session.program.Parameters.AdvanceCount = 24;
        withFunctions(window, [&](QDialog& fun) {
            type(fun, field, typed);
            QLineEdit* f = ::field(fun, field);
            if (leave == QLatin1String("tab"))
                QTest::keyClick(f, Qt::Key_Tab);
            else if (leave == QLatin1String("enter"))
                QTest::keyClick(f, Qt::Key_Return);
            else
                ::field(fun, field == 103 ? 101 : 103)->setFocus(Qt::MouseFocusReason);
            if (leave == QLatin1String("enter")) {
                QVERIFY2(fun.isVisible(), "Enter in a field closed the window");
                QCOMPARE(f->text(), shown);
                QVERIFY(!f->hasSelectedText());
            }
            QCOMPARE(f->text(), shown);
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::Yes);
            click(fun, "C_OK");
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        const FunctionParameters& fp = t.session.program.Parameters;
        const int values[] = {fp.CamAdvance[0], fp.OutputFormat, fp.EncoderShift, fp.RotationSense,
                              fp.SpeedLimit};
        QCOMPARE(values[field == 0 ? 0 : field - 99], stored);
    }

    void aDigitTypedIntoAFullFieldStartsANewValue() {
        TestSession t;
        AppWindow window(t.session);
        withFunctions(window, [&](QDialog& fun) {
            type(fun, 101, QStringLiteral("123"));
            QLineEdit* f = field(fun, 101);
            QTest::keyClick(f, Qt::Key_4);
            QCOMPARE(f->text(), QStringLiteral("123"));
            QCOMPARE(f->selectedText(), QStringLiteral("123"));
            QTest::keyClicks(f, QStringLiteral("56"));
            QCOMPARE(f->text(), QStringLiteral("56"));
        });
    }

    void closingWithoutEditsAsksNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("C_OK") << "ok";
        QTest::newRow("close box") << "close";
        QTest::newRow("escape") << "escape";
        QTest::newRow("a field entered and left unchanged") << "visit";
    }
    void closingWithoutEditsAsksNothing() {
        QFETCH(QString, how);
        TestSession t;
        AppWindow window(t.session);
        t.session.program.Parameters.EncoderShift = 12;
        withFunctions(window, [&](QDialog& fun) {
            if (how == QLatin1String("visit")) {
                field(fun, 101)->setFocus(Qt::TabFocusReason);
                field(fun, 103)->setFocus(Qt::TabFocusReason);
            }
            if (how == QLatin1String("close"))
                fun.close();
            else if (how == QLatin1String("escape"))
                QTest::keyClick(&fun, Qt::Key_Escape);
            else
                click(fun, "C_OK");
            QVERIFY(!fun.isVisible());
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QVERIFY(t.session.program.ProgramSaved);
        QCOMPARE(int(t.session.program.Parameters.EncoderShift), 12);
    }

    void switchingTheModeAndBackStillAsks() {
        TestSession t;
        AppWindow window(t.session);
        withFunctions(window, [&](QDialog& fun) {
            QTest::mouseClick(mode(fun, 1), Qt::LeftButton);
            QTest::mouseClick(mode(fun, 0), Qt::LeftButton);
            QVERIFY(shownCaptions(fun, 24).isEmpty());
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::Cancel);
            click(fun, "C_OK");
            QVERIFY2(fun.isVisible(), "Cancel closed the window");
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::No);
            fun.close();
            QVERIFY(!fun.isVisible());
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        const auto& asked = t.prompts.messages().constFirst();
        QCOMPARE(asked.title, QStringLiteral("T58"));
        QCOMPARE(asked.buttons, Prompts::Buttons::YesNoCancel);
        QVERIFY(t.session.program.ProgramSaved);
    }

    void noDiscardsEveryEdit() {
        TestSession t;
        AppWindow window(t.session);
        FunctionParameters& fp = t.session.program.Parameters;
        fp.AdvanceCount = 6;
        fp.CamAdvance[0] = 20;
        fp.SpeedLimit = 300;
        const FunctionParameters before = fp;
        withFunctions(window, [&](QDialog& fun) {
            type(fun, 0, QStringLiteral("90"));
            QTest::mouseClick(mode(fun, 3), Qt::LeftButton);
            type(fun, 103, QStringLiteral("500"));
            type(fun, 100, QStringLiteral("2"));
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::No);
            click(fun, "C_OK");
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(fp.AdvanceCount, before.AdvanceCount);
        QCOMPARE(fp.CamAdvance, before.CamAdvance);
        QCOMPARE(fp.SpeedLimit, before.SpeedLimit);
        QCOMPARE(fp.OutputFormat, before.OutputFormat);
        QVERIFY(t.session.program.ProgramSaved);
    }

    // The close box while a field still has the focus: its value counts.
    void theFieldBeingEditedCountsOnClosing() {
        TestSession t;
        AppWindow window(t.session);
        withFunctions(window, [&](QDialog& fun) {
            type(fun, 101, QStringLiteral("500"));
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::Yes);
            fun.close();
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(int(t.session.program.Parameters.EncoderShift), 359);
    }

    void labelsPutTheFocusIntoTheirFields_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("field");
        QTest::newRow("LFUSC") << "LFUSC" << 100;
        QTest::newRow("L_Sfas") << "L_Sfas" << 101;
        QTest::newRow("L_Rot") << "L_Rot" << 102;
        QTest::newRow("L_LimVel") << "L_LimVel" << 103;
        QTest::newRow("LANT(4)") << "LANT(4)" << 4;
    }
    void labelsPutTheFocusIntoTheirFields() {
        QFETCH(QString, label);
        QFETCH(int, field);
        TestSession t;
        AppWindow window(t.session);
        t.session.program.Parameters.AdvanceCount = 6;
        withFunctions(window, [&](QDialog& fun) {
            QTest::mouseClick(fun.findChild<QLabel*>(label), Qt::LeftButton);
            QCOMPARE(fun.focusWidget(), ::field(fun, field));
        });
    }

    void resetZeroesEverythingAndAsksOnClosing() {
        TestSession t;
        AppWindow window(t.session);
        FunctionParameters& fp = t.session.program.Parameters;
        fp.AdvanceCount = 24;
        fp.CamAdvance[5] = 50;
        fp.OutputFormat = 4;
        fp.EncoderShift = 100;
        fp.RotationSense = 1;
        fp.SpeedLimit = 800;
        withFunctions(window, [&](QDialog& fun) {
            t.prompts.expectMessage(QStringLiteral("T59"), Prompts::Answer::No);
            click(fun, "C_RES");
            QCOMPARE(field(fun, 101)->text(), QStringLiteral("100"));
            t.prompts.expectMessage(QStringLiteral("T59"), Prompts::Answer::Yes);
            click(fun, "C_RES");
            QVERIFY(mode(fun, 0)->isChecked());
            QCOMPARE(field(fun, 5)->text(), QStringLiteral("000"));
            QCOMPARE(field(fun, 100)->text(), QStringLiteral("00"));
            QCOMPARE(field(fun, 101)->text(), QStringLiteral("000"));
            QCOMPARE(field(fun, 102)->text(), QStringLiteral("0"));
            QCOMPARE(field(fun, 103)->text(), QStringLiteral("000"));
            t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::Yes);
            click(fun, "C_OK");
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(int(fp.AdvanceCount), 0);
        QCOMPARE(int(fp.OutputFormat), 0);
        QCOMPARE(int(fp.EncoderShift), 0);
        QCOMPARE(int(fp.RotationSense), 0);
        QCOMPARE(int(fp.SpeedLimit), 0);
        QVERIFY(!t.session.program.ProgramSaved);
    }

    void clearPutsTheProgramsValuesBack_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("yes") << int(Prompts::Answer::Yes) << true;
        QTest::newRow("no") << int(Prompts::Answer::No) << false;
        QTest::newRow("cancel") << int(Prompts::Answer::Cancel) << false;
    }
    void clearPutsTheProgramsValuesBack() {
        QFETCH(int, answer);
        QFETCH(bool, cleared);
        TestSession t;
        AppWindow window(t.session);
        FunctionParameters& fp = t.session.program.Parameters;
        fp.AdvanceCount = 6;
        fp.CamAdvance[1] = 33;
        fp.EncoderShift = 90;
        withFunctions(window, [&](QDialog& fun) {
            // Nothing edited yet: Clear has nothing to put back and asks nothing.
            click(fun, "C_Cl");
            QTest::mouseClick(mode(fun, 3), Qt::LeftButton);
            type(fun, 101, QStringLiteral("45"));
            type(fun, 4, QStringLiteral("77"));
            field(fun, 103)->setFocus(Qt::TabFocusReason);
            t.prompts.expectMessage(QStringLiteral("T60"), Prompts::Answer(answer));
            click(fun, "C_Cl");
            QCOMPARE(mode(fun, 1)->isChecked(), cleared);
            QCOMPARE(field(fun, 101)->text(),
                     cleared ? QStringLiteral("090") : QStringLiteral("045"));
            if (cleared) {
                QCOMPARE(field(fun, 4)->text(), QStringLiteral("033"));
                QCOMPARE(shownCaptions(fun, 24).size(), 6);
            } else {
                t.prompts.expectMessage(QStringLiteral("T63"), Prompts::Answer::No);
            }
            click(fun, "C_OK");
            QVERIFY(!fun.isVisible());
        });
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(int(fp.EncoderShift), 90);
        QCOMPARE(int(fp.AdvanceCount), 6);
        QVERIFY(t.session.program.ProgramSaved);
    }
};

QTEST_MAIN(TestFunctionParameters)
#include "tst_functionparameters.moc"
