#include "app/AppWindow.h"
#include "support/CamRuns.h"
#include "support/TestSession.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

using CamRuns::Runs;
Q_DECLARE_METATYPE(Runs)

// An answer of "<cancel>" stands for the Cancel button of the input box.
static std::optional<QString> answerOf(const QString& text) {
    if (text == QLatin1String("<cancel>"))
        return std::nullopt;
    return text;
}

// A phase entry into the current cam, as the editor makes it.
static void enterPhase(MainWindow& window, int on, int off) {
    window.session().edit.enterPhase(on, off);
}

class TestCamOperations : public QObject {
    Q_OBJECT
private slots:
    void copyCam_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("copiedTo");
        QTest::newRow("to cam 3") << "3" << QString() << 3;
        QTest::newRow("blanks around") << "  3 " << QString() << 3;
        QTest::newRow("rounded up") << "2.6" << QString() << 3;
        QTest::newRow("last cam") << "24" << QString() << 24;
        QTest::newRow("the cam itself") << "5" << QString() << 0;
        QTest::newRow("zero") << "0" << QString() << 0;
        QTest::newRow("empty") << "" << QString() << 0;
        QTest::newRow("cancel") << "<cancel>" << QString() << 0;
        QTest::newRow("not a number") << "abc" << QString() << 0;
        QTest::newRow("CamCount + 1") << "25"
                                      << " 25T26" << 0;
        QTest::newRow("negative") << "-2"
                                  << "-2T26" << 0;
        QTest::newRow("far beyond") << "100000"
                                    << " 100000T26" << 0;
    }
    void copyCam() {
        QFETCH(QString, answer);
        QFETCH(QString, message);
        QFETCH(int, copiedTo);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        p.CurrentFormat = 2;
        p.CurrentCam = 5;
        p.SetCamName(5, QStringLiteral("PUMP"));
        CamRuns::Fill(p, 2, 5, {{90, 179}, {300, 29}});
        for (int cam = 1; cam <= 24; ++cam) {
            if (cam != 5)
                CamRuns::Fill(p, 2, cam, {{cam, cam + 4}});
        }
        CamRuns::Fill(p, 1, 3, {{200, 210}});
        const QByteArray otherFormat = CamRuns::FormatBytes(p, 1);
        const QByteArray before = CamRuns::FormatBytes(p, 2);
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);

        t.prompts.expectInput(QStringLiteral("T24 5T25 24"), answerOf(answer));
        if (!message.isEmpty())
            t.prompts.expectMessage(message);
        window.actions().O_CopyC->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        for (int cam = 1; cam <= 24; ++cam) {
            const Runs expected =
                cam == copiedTo || cam == 5 ? Runs{{90, 179}, {300, 29}} : Runs{{cam, cam + 4}};
            QCOMPARE(CamRuns::Of(p, 2, cam), expected);
        }
        QCOMPARE(CamRuns::FormatBytes(p, 1), otherFormat);
        QCOMPARE(p.CurrentCam, 5);
        QCOMPARE(p.CamName(copiedTo ? copiedTo : 3), QString());
        QCOMPARE(p.ProgramSaved, copiedTo == 0);
        if (copiedTo != 0)
            QCOMPARE(redraws.count(), 1);
        if (!message.isEmpty())
            QCOMPARE(redraws.count(), 0);
        if (copiedTo == 0)
            QCOMPARE(CamRuns::FormatBytes(p, 2), before);
    }

    void shiftCam_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<Runs>("before");
        QTest::addColumn<Runs>("after");
        const Runs tenToTwenty{{10, 19}};
        QTest::newRow("30") << "30" << tenToTwenty << Runs{{40, 49}};
        QTest::newRow("-30") << "-30" << tenToTwenty << Runs{{340, 349}};
        QTest::newRow("355 wraps") << "355" << tenToTwenty << Runs{{5, 14}};
        QTest::newRow("725") << "725" << tenToTwenty << Runs{{15, 24}};
        QTest::newRow("-725") << "-725" << tenToTwenty << Runs{{5, 14}};
        QTest::newRow("360") << "360" << tenToTwenty << tenToTwenty;
        QTest::newRow("-360") << "-360" << tenToTwenty << tenToTwenty;
        QTest::newRow("0") << "0" << tenToTwenty << tenToTwenty;
        QTest::newRow("empty") << "" << tenToTwenty << tenToTwenty;
        QTest::newRow("cancel") << "<cancel>" << tenToTwenty << tenToTwenty;
        QTest::newRow("not a number") << "x5" << tenToTwenty << tenToTwenty;
        QTest::newRow("-1 wraps the start to 359")
            << "-1" << Runs{{0, 9}, {100, 109}} << Runs{{99, 108}, {359, 8}};
        QTest::newRow("1 past 359") << "1" << Runs{{350, 359}} << Runs{{351, 0}};
        QTest::newRow("through 0") << "20" << Runs{{350, 9}} << Runs{{10, 29}};
    }
    void shiftCam() {
        QFETCH(QString, answer);
        QFETCH(Runs, before);
        QFETCH(Runs, after);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        p.CurrentFormat = 3;
        p.CurrentCam = 7;
        CamRuns::Fill(p, 3, 7, before);
        CamRuns::Fill(p, 3, 8, {{100, 120}});
        CamRuns::Fill(p, 2, 7, {{100, 120}});
        QSignalSpy rows(&window.host(), &WindowHost::camRowRedrawRequested);

        t.prompts.expectInput(QStringLiteral("T27 7"), answerOf(answer));
        window.actions().O_Shc->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        const Runs expected = after;
        Runs sortedAfter = CamRuns::Of(p, 3, 7);
        std::sort(sortedAfter.begin(), sortedAfter.end());
        Runs sortedExpected = expected;
        std::sort(sortedExpected.begin(), sortedExpected.end());
        QCOMPARE(sortedAfter, sortedExpected);
        QCOMPARE(CamRuns::Of(p, 3, 8), (Runs{{100, 120}}));
        QCOMPARE(CamRuns::Of(p, 2, 7), (Runs{{100, 120}}));
        const bool moved = before != after;
        QCOMPARE(p.ProgramSaved, !moved);
        if (moved) {
            QCOMPARE(rows.count(), 1);
            QCOMPARE(rows.at(0).at(0).toInt(), 7);
        }
    }

    void eraseCam_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("erased");
        QTest::newRow("yes") << int(Prompts::Answer::Yes) << true;
        QTest::newRow("no") << int(Prompts::Answer::No) << false;
    }
    void eraseCam() {
        QFETCH(int, answer);
        QFETCH(bool, erased);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        p.CurrentFormat = 2;
        p.CurrentCam = 4;
        p.SetCamName(4, QStringLiteral("KNIFE"));
        CamRuns::Fill(p, 2, 4, {{10, 20}, {200, 5}});
        CamRuns::Fill(p, 2, 5, {{10, 20}});
        CamRuns::Fill(p, 1, 4, {{10, 20}});
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);

        t.prompts.expectMessage(QStringLiteral("T15 4'?"), Prompts::Answer(answer));
        window.actions().O_ClC->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        const auto& shown = t.prompts.messages().constLast();
        QCOMPARE(shown.title, QStringLiteral("T3"));
        QCOMPARE(shown.buttons, Prompts::Buttons::YesNoDefaultNo);
        QCOMPARE(CamRuns::Of(p, 2, 4), erased ? Runs{} : (Runs{{10, 20}, {200, 5}}));
        QCOMPARE(CamRuns::Of(p, 2, 5), (Runs{{10, 20}}));
        QCOMPARE(CamRuns::Of(p, 1, 4), (Runs{{10, 20}}));
        QCOMPARE(p.CamName(4), QStringLiteral("KNIFE"));
        QCOMPARE(p.ProgramSaved, !erased);
        QCOMPARE(redraws.count(), erased ? 1 : 0);
    }

    void modifyCamOpensTheEditorOnTheCurrentCam() {
        TestSession t;
        AppWindow window(t.session);
        t.session.program.CurrentCam = 9;
        QSignalSpy opened(&window.host(), &WindowHost::openEditorRequested);
        window.actions().o_MODC->trigger();
        QCOMPARE(opened.count(), 1);
        QCOMPARE(opened.at(0).at(0).toInt(), 9);
    }

    // Undo takes back the latest step first: Shift Cam, then the entry before it; an Erase
    // Cam made after that is a step of its own.
    void undoTakesBackTheShiftThenTheEntry() {
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        QAction* undo = window.actions().o_Undo;
        QVERIFY(!undo->isEnabled());
        p.CurrentFormat = 2;
        p.CurrentCam = 6;
        CamRuns::Fill(p, 2, 6, {{10, 49}, {100, 149}});
        enterPhase(window, 40, 120);
        QCOMPARE(CamRuns::Of(p, 2, 6), (Runs{{40, 119}}));
        t.prompts.expectInput(QStringLiteral("T27 6"), QStringLiteral("30"));
        window.actions().O_Shc->trigger();
        p.MarkSaved();
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);

        undo->trigger();
        QCOMPARE(CamRuns::Of(p, 2, 6), (Runs{{40, 119}}));
        QVERIFY(!p.ProgramSaved);
        undo->trigger();
        QCOMPARE(CamRuns::Of(p, 2, 6), (Runs{{10, 49}, {100, 149}}));
        QVERIFY(!undo->isEnabled());
        QVERIFY(window.actions().o_Redo->isEnabled());
        QCOMPARE(redraws.count(), 2);

        t.prompts.expectMessage(QStringLiteral("T15 6'?"), Prompts::Answer::Yes);
        window.actions().O_ClC->trigger();
        QVERIFY(!window.actions().o_Redo->isEnabled());
        undo->trigger();
        QCOMPARE(CamRuns::Of(p, 2, 6), (Runs{{10, 49}, {100, 149}}));
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
    }

    void undoAfterSelectSizeGoesBackToTheEntry() {
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        QAction* undo = window.actions().o_Undo;
        CamRuns::Fill(p, 1, 1, {{10, 20}});
        enterPhase(window, 90, 180);
        t.prompts.expectInput(QStringLiteral("T20 1- 6"), QStringLiteral("2"));
        window.actions().S_Sel->trigger();
        QCOMPARE(p.CurrentFormat, 2);
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(p.CurrentFormat, 1);
        QCOMPARE(CamRuns::Of(p, 2, 1), Runs{});
        QCOMPARE(CamRuns::Of(p, 1, 1), (Runs{{10, 20}}));
    }

    // Whoever moves to another format or cam (a stepper, a reader), Undo writes only into
    // the cam the step was made on, and shows it.
    void undoWritesOnlyIntoTheCamOfTheStep_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("cam");
        QTest::newRow("stepper to format 2") << 2 << 1;
        QTest::newRow("another cam") << 1 << 2;
    }
    void undoWritesOnlyIntoTheCamOfTheStep() {
        QFETCH(int, format);
        QFETCH(int, cam);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        QAction* undo = window.actions().o_Undo;
        CamRuns::Fill(p, format, cam, {{200, 250}});
        enterPhase(window, 90, 180);
        p.CurrentFormat = format;
        p.CurrentCam = cam;
        undo->trigger();
        QCOMPARE(CamRuns::Of(p, format, cam), (Runs{{200, 250}}));
        QCOMPARE(CamRuns::Of(p, 1, 1), Runs{});
        QCOMPARE(p.CurrentFormat, 1);
        QCOMPARE(p.CurrentCam, 1);
        QVERIFY(!undo->isEnabled());
    }
};

QTEST_MAIN(TestCamOperations)
#include "tst_camoperations.moc"
