#include "Q517Paths.h"
#include "model/EditSession.h"
#include "model/LanguageTexts.h"
#include "model/StepName.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {
QString phasesText(const CamProgram& p, int format, int cam) {
    QStringList parts;
    for (const Phase& ph : p.ListPhases(format, cam))
        parts.append(QStringLiteral("%1-%2").arg(ph.On).arg(ph.Off));
    return parts.join(QLatin1Char(' '));
}

Phase phaseOf(const QString& text) {
    const QStringList angles = text.split(QLatin1Char('-'));
    return {angles.value(0).toInt(), angles.value(1).toInt()};
}

// Everything an undo must bring back: every cam of every format, the names, the parameters.
QString programText(const CamProgram& p) {
    QStringList parts;
    for (int f = 1; f <= p.FormatCount(); ++f)
        for (int c = 1; c <= p.CamCount(); ++c)
            if (!p.ListPhases(f, c).empty())
                parts.append(QStringLiteral("%1/%2:%3").arg(f).arg(c).arg(phasesText(p, f, c)));
    parts.append(p.CamNames().join(QLatin1Char(',')));
    parts.append(QString::number(p.Parameters.SpeedLimit));
    return parts.join(QLatin1Char(' '));
}

// One change made the way the commands make it: taken as one step of the history.
template <class Change>
void change(EditSession& edit, CamProgram& p, StepLabel::Kind kind, Change&& apply) {
    edit.beginChange();
    apply();
    p.MarkChanged();
    edit.endChange({kind, p.CurrentFormat, p.CurrentCam, 0, 0});
}

// Runs one step of a script against the session:
//   90-180      a phase entry into the current cam
//   m90-180>90-200  an edge drag: the first phase becomes the second
//   u / r       Undo / Redo
//   c2 / f2     select cam 2 / format 2 through the session
//   C2          cam 2 made current behind the session's back (a reader, a test)
//   n           the program was replaced (New, Open, reception)
//   s30         Shift Cam by 30 degrees (a command outside the history)
//   y4          Copy Cam onto cam 4       E    Erase Size      K3   Copy Size onto size 3
//   N:PRESS     the current cam renamed   P7   Functions: speed limit 7
void run(EditSession& edit, CamProgram& p, const QString& step) {
    const QChar op = step.at(0);
    const int n = step.mid(1).toInt();
    const int f = p.CurrentFormat;
    if (op == QLatin1Char('y')) {
        change(edit, p, StepLabel::Kind::CopyCam,
               [&] { std::copy_n(p.CamDegrees(f, p.CurrentCam), 360, p.CamDegrees(f, n)); });
    } else if (op == QLatin1Char('E')) {
        change(edit, p, StepLabel::Kind::EraseSize, [&] { p.ClearFormat(f); });
    } else if (op == QLatin1Char('K')) {
        change(edit, p, StepLabel::Kind::CopySize,
               [&] { std::copy_n(p.CamDegrees(f, 1), 360 * p.CamCount(), p.CamDegrees(n, 1)); });
    } else if (op == QLatin1Char('N')) {
        change(edit, p, StepLabel::Kind::CamName, [&] { p.SetCamName(p.CurrentCam, step.mid(2)); });
    } else if (op == QLatin1Char('P')) {
        change(edit, p, StepLabel::Kind::Functions, [&] { p.Parameters.SpeedLimit = int16_t(n); });
    } else if (op.isDigit()) {
        const Phase ph = phaseOf(step);
        edit.enterPhase(ph.On, ph.Off);
    } else if (op == QLatin1Char('m')) {
        const QStringList two = step.mid(1).split(QLatin1Char('>'));
        edit.movePhase(phaseOf(two.at(0)), phaseOf(two.at(1)));
    } else if (op == QLatin1Char('u')) {
        edit.undo();
    } else if (op == QLatin1Char('r')) {
        edit.redo();
    } else if (op == QLatin1Char('c')) {
        edit.selectCam(step.mid(1).toInt());
    } else if (op == QLatin1Char('f')) {
        edit.selectFormat(step.mid(1).toInt());
    } else if (op == QLatin1Char('C')) {
        p.CurrentCam = step.mid(1).toInt();
    } else if (op == QLatin1Char('n')) {
        edit.restart();
    } else if (op == QLatin1Char('s')) {
        uint8_t* d = p.CamDegrees(p.CurrentFormat, p.CurrentCam);
        std::array<uint8_t, 360> before{};
        std::copy_n(d, 360, before.begin());
        for (int k = 0; k < 360; ++k)
            d[(k + step.mid(1).toInt()) % 360] = before[std::size_t(k)];
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}
} // namespace

class TestEditSession : public QObject {
    Q_OBJECT
private slots:
    // Each script runs on cam 1 of format 1 of an empty program; afterwards the cams show
    // the phases given and Undo / Redo are available as given.
    void history_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("cam1");
        QTest::addColumn<QString>("cam2");
        QTest::addColumn<bool>("canUndo");
        QTest::addColumn<bool>("canRedo");
        QTest::newRow("one entry") << "90-180"
                                   << "90-180"
                                   << "" << true << false;
        QTest::newRow("undo it") << "90-180 u"
                                 << ""
                                 << "" << false << true;
        QTest::newRow("and redo it") << "90-180 u r"
                                     << "90-180"
                                     << "" << true << false;
        QTest::newRow("drag, undo twice, redo once") << "90-180 m90-180>90-200 u u r"
                                                     << "90-180"
                                                     << "" << true << true;
        QTest::newRow("merging entry undone whole") << "10-50 100-150 40-120 u"
                                                    << "10-50 100-150"
                                                    << "" << true << true;
        QTest::newRow("a new entry drops the redo") << "90-180 u 10-20"
                                                    << "10-20"
                                                    << "" << true << false;
        QTest::newRow("undo past the start does nothing") << "90-180 u u u"
                                                          << ""
                                                          << "" << false << true;
        QTest::newRow("redo with nothing undone") << "90-180 r"
                                                  << "90-180"
                                                  << "" << true << false;
        QTest::newRow("an entry that changes nothing is no step") << "90-180 90-180 u"
                                                                  << ""
                                                                  << "" << false << true;
        QTest::newRow("same cam again keeps it") << "90-180 c1"
                                                 << "90-180"
                                                 << "" << true << false;
        QTest::newRow("another cam keeps it") << "90-180 c2 c1"
                                              << "90-180"
                                              << "" << true << false;
        QTest::newRow("another format keeps it") << "90-180 f2 f1"
                                                 << "90-180"
                                                 << "" << true << false;
        QTest::newRow("undo on cam 2 goes back to cam 1") << "90-180 c2 10-20 u u"
                                                          << ""
                                                          << "" << false << true;
        QTest::newRow("cam changed behind its back: undo writes into cam 1") << "90-180 C2 u"
                                                                             << ""
                                                                             << "" << false << true;
        QTest::newRow("cam 2 copied onto cam 1, undone") << "90-180 c2 10-20 y1 u"
                                                         << "90-180"
                                                         << "10-20" << true << true;
        QTest::newRow("program replaced") << "90-180 n u"
                                          << "90-180"
                                          << "" << false << false;
        QTest::newRow("undo brings back the cam before the entry, even after a shift")
            << "10-20 30-40 s100 u"
            << "10-20"
            << "" << true << true;
        QTest::newRow("stale drag changes nothing") << "90-180 m10-20>10-30 u"
                                                    << ""
                                                    << "" << false << true;
        QTest::newRow("out of range cam keeps the history") << "90-180 c25 u"
                                                            << ""
                                                            << "" << false << true;
    }
    void history() {
        QFETCH(QString, script);
        QFETCH(QString, cam1);
        QFETCH(QString, cam2);
        QFETCH(bool, canUndo);
        QFETCH(bool, canRedo);
        CamProgram p;
        EditSession edit(p);
        for (const QString& step : script.split(QLatin1Char(' ')))
            run(edit, p, step);
        QCOMPARE(phasesText(p, 1, 1), cam1);
        QCOMPARE(phasesText(p, 1, 2), cam2);
        QCOMPARE(edit.canUndo(), canUndo);
        QCOMPARE(edit.canRedo(), canRedo);
    }

    // Fifty entries can be taken back; older ones are gone.
    void keepsTheLatestFiftySteps() {
        CamProgram p;
        EditSession edit(p);
        for (int k = 0; k < 55; ++k)
            edit.enterPhase(2 * k, 2 * k + 1);
        int undone = 0;
        while (edit.undo())
            ++undone;
        QCOMPARE(undone, EditSession::MaxSteps);
        QCOMPARE(int(p.ListPhases(1, 1).size()), 5);
        QVERIFY(!edit.canUndo());
        QVERIFY(edit.canRedo());
    }

    // Each step, undone, gives back the program as it was before it and shows where it was
    // made; redone, the program as it was after it.
    void undoAndRedoRetraceTheProgram_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("places"); // size/cam each undo shows, latest step first
        QTest::newRow("three phases, a glance at cam 4") << "c3 10-20 30-40 50-60 c4 c3 c4"
                                                         << "1/3 1/3 1/3";
        QTest::newRow("over cams and sizes") << "10-20 c2 30-40 f2 c5 100-200 E f1 c1 K2 f3"
                                             << "2/1 2/5 2/5 1/2 1/1";
        QTest::newRow("drag, copy cam, names and functions")
            << "90-180 m90-180>90-200 y4 c7 N:PRESS f4 P7 N:CUT"
            << "4/7 4/7 1/7 1/4 1/1 1/1";
        QTest::newRow("import-like replacements with names") << "c2 N:A 5-6 K6 f6 E N:B"
                                                             << "6/2 6/2 6/2 1/2 1/2";
    }
    void undoAndRedoRetraceTheProgram() {
        QFETCH(QString, script);
        QFETCH(QString, places);
        CamProgram p;
        EditSession edit(p);
        QStringList before, after;
        for (const QString& step : script.split(QLatin1Char(' '))) {
            const QString was = programText(p);
            run(edit, p, step);
            if (programText(p) != was) {
                before.prepend(was);
                after.prepend(programText(p));
            }
        }
        QStringList shown;
        for (const QString& want : std::as_const(before)) {
            QVERIFY(edit.undo());
            QCOMPARE(programText(p), want);
            shown.append(QStringLiteral("%1/%2").arg(p.CurrentFormat).arg(p.CurrentCam));
        }
        QCOMPARE(shown.join(QLatin1Char(' ')), places);
        QVERIFY(!edit.undo());
        for (auto it = after.crbegin(); it != after.crend(); ++it) {
            QVERIFY(edit.redo());
            QCOMPARE(programText(p), *it);
        }
        QVERIFY(!edit.redo());
    }

    // The Undo and Redo entries name the step in the operator's words.
    void stepNames_data() {
        using K = StepLabel::Kind;
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("where"); // size, cam, ON, OFF
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("redo");
        QTest::newRow("phase") << int(K::Phase) << QList<int>{1, 5, 30, 90}
                               << QString::fromUtf8("&Undo phase 030\u2013090 on C 05, size 01")
                               << QString::fromUtf8("&Redo phase 030\u2013090 on C 05, size 01");
        QTest::newRow("phase to the end")
            << int(K::Phase) << QList<int>{2, 12, 300, 360}
            << QString::fromUtf8("&Undo phase 300\u2013000 on C 12, size 02")
            << QString::fromUtf8("&Redo phase 300\u2013000 on C 12, size 02");
        QTest::newRow("erase size")
            << int(K::EraseSize) << QList<int>{3, 1, 0, 0} << "&Undo Erase Size 03"
            << "&Redo Erase Size 03";
        QTest::newRow("copy cam") << int(K::CopyCam) << QList<int>{1, 4, 0, 0}
                                  << "&Undo Copy Cam onto C 04, size 01"
                                  << "&Redo Copy Cam onto C 04, size 01";
        QTest::newRow("functions")
            << int(K::Functions) << QList<int>{1, 1, 0, 0} << "&Undo Functions"
            << "&Redo Functions";
        QTest::newRow("name") << int(K::CamName) << QList<int>{1, 9, 0, 0} << "&Undo name of C 09"
                              << "&Redo name of C 09";
    }
    void stepNames() {
        QFETCH(int, kind);
        QFETCH(QList<int>, where);
        QFETCH(QString, undo);
        QFETCH(QString, redo);
        LanguageTexts texts;
        QVERIFY(
            texts.LoadLanguage(QDir(QStringLiteral(Q517_SOURCE_DATA_DIR)).filePath("q517_EN.SCR")));
        const StepLabel step{StepLabel::Kind(kind), where[0], where[1], where[2], where[3]};
        QCOMPARE(texts.Text(400).arg(StepName(step, texts)), undo);
        QCOMPARE(texts.Text(401).arg(StepName(step, texts)), redo);
    }

    // Entries, undo and redo mark the program changed and tell the Undo and Redo entries.
    void changesAreMarkedAndAnnounced() {
        CamProgram p;
        EditSession edit(p);
        QSignalSpy announced(&edit, &EditSession::historyChanged);
        edit.enterPhase(90, 180);
        QVERIFY(!p.ProgramSaved);
        QCOMPARE(announced.count(), 1);
        p.MarkSaved();
        QVERIFY(edit.undo());
        QVERIFY(!p.ProgramSaved);
        QCOMPARE(announced.count(), 2);
        // Walking back to the program as saved clears the unsaved marker.
        QVERIFY(edit.redo());
        QVERIFY(p.ProgramSaved);
        edit.enterPhase(200, 210);
        QVERIFY(edit.undo() && p.ProgramSaved);
        QVERIFY(edit.selectFormat(2));
        QCOMPARE(announced.count(), 5);
        QVERIFY(edit.canRedo());
        QVERIFY(!edit.selectFormat(7)); // 24 cams, 6 formats
        QCOMPARE(p.CurrentFormat, 2);
    }
};

QTEST_APPLESS_MAIN(TestEditSession)
#include "tst_editsession.moc"
