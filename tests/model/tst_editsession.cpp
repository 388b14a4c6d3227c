#include "model/EditSession.h"

#include <QSignalSpy>
#include <QTest>

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

// Runs one step of a script against the session:
//   90-180      a phase entry into the current cam
//   m90-180>90-200  an edge drag: the first phase becomes the second
//   u / r       Undo / Redo
//   c2 / f2     select cam 2 / format 2 through the session
//   C2          cam 2 made current behind the session's back (a reader, a test)
//   n           the program was replaced (New, Open, reception)
//   s30         Shift Cam by 30 degrees (a command outside the history)
void run(EditSession& edit, CamProgram& p, const QString& step) {
    const QChar op = step.at(0);
    if (op.isDigit()) {
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
        QTest::newRow("another cam forgets it") << "90-180 c2 c1"
                                                << "90-180"
                                                << "" << false << false;
        QTest::newRow("another format forgets it") << "90-180 f2 f1"
                                                   << "90-180"
                                                   << "" << false << false;
        QTest::newRow("entries on cam 2 are cam 2's") << "90-180 c2 10-20 u"
                                                      << "90-180"
                                                      << "" << false << true;
        QTest::newRow("cam changed behind its back: never written into cam 2")
            << "90-180 C2 u"
            << "90-180"
            << "" << false << false;
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
        QVERIFY(edit.selectFormat(2));
        QCOMPARE(announced.count(), 3);
        QVERIFY(!edit.canRedo());
        QVERIFY(!edit.selectFormat(7)); // 24 cams, 6 formats
        QCOMPARE(p.CurrentFormat, 2);
    }
};

QTEST_APPLESS_MAIN(TestEditSession)
#include "tst_editsession.moc"
