#include "model/CamProgram.h"

#include <QTest>

// Builds a cam from a list of ON runs [first, last] (inclusive, may wrap past 359).
static void fillRuns(CamProgram& p, int format, int cam, const QList<QPair<int, int>>& runs) {
    for (const auto& run : runs) {
        for (int d = run.first;; d = (d + 1) % 360) {
            p.WriteDegree(format, cam, d, 1);
            if (d == run.second)
                break;
        }
    }
}

static QList<int> onDegrees(const CamProgram& p, int format, int cam) {
    QList<int> on;
    for (int d = 0; d < 360; ++d) {
        if (p.ReadDegree(format, cam, d))
            on.append(d);
    }
    return on;
}

static QList<int> range(int first, int last) {
    QList<int> r;
    for (int d = first; d <= last; ++d)
        r.append(d);
    return r;
}

using Phases = std::vector<Phase>;
Q_DECLARE_METATYPE(Phases)
using Runs = QList<QPair<int, int>>;

class TestCamProgram : public QObject {
    Q_OBJECT
private slots:
    void startValues() {
        CamProgram p;
        QCOMPARE(p.CamCount(), 24);
        QCOMPARE(p.FormatCount(), 6);
        QCOMPARE(p.CurrentFormat, 1);
        QCOMPARE(p.CurrentCam, 1);
        QVERIFY(p.ProgramSaved);
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 24);
        QCOMPARE(p.CamNames().size(), 24);
        for (int f = 1; f <= 6; ++f)
            for (int c = 1; c <= 24; ++c)
                QVERIFY(p.ListPhases(f, c).empty());
    }

    void onlySixPairsSizeTheModel_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<bool>("valid");
        QTest::newRow("8-21") << 8 << 21 << true;
        QTest::newRow("8-89") << 8 << 89 << true;
        QTest::newRow("16-10") << 16 << 10 << true;
        QTest::newRow("16-44") << 16 << 44 << true;
        QTest::newRow("24-6") << 24 << 6 << true;
        QTest::newRow("24-28") << 24 << 28 << true;
        QTest::newRow("8-10") << 8 << 10 << false;
        QTest::newRow("24-21") << 24 << 21 << false;
        QTest::newRow("12-6") << 12 << 6 << false;
        QTest::newRow("0-0") << 0 << 0 << false;
        QTest::newRow("negative") << -8 << -21 << false;
    }
    void onlySixPairsSizeTheModel() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(bool, valid);
        CamProgram p;
        p.WriteDegree(3, 5, 100, 1);
        QCOMPARE(p.Reconfigure(cams, formats, false), valid);
        if (valid) {
            QCOMPARE(p.CamCount(), cams);
            QCOMPARE(p.FormatCount(), formats);
            for (int f = 1; f <= formats; ++f)
                for (int c = 1; c <= cams; ++c)
                    QVERIFY(onDegrees(p, f, c).isEmpty());
        } else {
            QCOMPARE(p.CamCount(), 24);
            QCOMPARE(p.FormatCount(), 6);
            QCOMPARE(p.ReadDegree(3, 5, 100), uint8_t(1));
        }
    }

    void reconfigureKeepsOrClearsAdvance() {
        CamProgram p;
        for (int k = 0; k < 24; ++k)
            p.Parameters.CamAdvance[k] = uint8_t(k + 1);
        QVERIFY(p.Reconfigure(8, 21, true));
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 8);
        QCOMPARE(int(p.Parameters.CamAdvance[7]), 8);
        QVERIFY(p.Reconfigure(16, 10, true));
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 16);
        QCOMPARE(int(p.Parameters.CamAdvance[7]), 8);
        QCOMPARE(int(p.Parameters.CamAdvance[8]), 0);
        QVERIFY(p.Reconfigure(24, 28, false));
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 24);
        for (uint8_t v : p.Parameters.CamAdvance)
            QCOMPARE(int(v), 0);
    }

    void reconfigureKeepsCurrentInRange() {
        CamProgram p;
        QVERIFY(p.Reconfigure(24, 28, false));
        p.CurrentFormat = 28;
        p.CurrentCam = 24;
        QVERIFY(p.Reconfigure(8, 21, false));
        QCOMPARE(p.CurrentFormat, 21);
        QCOMPARE(p.CurrentCam, 8);
    }

    void listPhases_data() {
        QTest::addColumn<Runs>("runs");
        QTest::addColumn<Phases>("phases");
        QTest::newRow("empty") << Runs{} << Phases{};
        QTest::newRow("through zero") << Runs{{350, 9}} << Phases{{350, 10}};
        QTest::newRow("ends at 359") << Runs{{300, 359}} << Phases{{300, 0}};
        QTest::newRow("single degree") << Runs{{45, 45}} << Phases{{45, 46}};
        QTest::newRow("starts at zero") << Runs{{0, 29}} << Phases{{0, 30}};
        QTest::newRow("all on") << Runs{{0, 359}} << Phases{};
        QTest::newRow("wrap listed last")
            << Runs{{300, 29}, {100, 149}} << Phases{{100, 150}, {300, 30}};
        QTest::newRow("two ordinary") << Runs{{10, 49}, {100, 149}} << Phases{{10, 50}, {100, 150}};
        Runs alternate;
        Phases expected;
        for (int d = 0; d < 360; d += 2) {
            alternate.append({d, d});
            expected.push_back({d, d + 1});
        }
        QTest::newRow("180 phases") << alternate << expected;
    }
    void listPhases() {
        QFETCH(Runs, runs);
        QFETCH(Phases, phases);
        CamProgram p;
        fillRuns(p, 2, 7, runs);
        QCOMPARE(p.ListPhases(2, 7), phases);
        QVERIFY(p.ListPhases(1, 7).empty());
    }

    void setPhase_data() {
        QTest::addColumn<Runs>("before");
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("off");
        QTest::addColumn<Phases>("after");
        QTest::newRow("new phase") << Runs{} << 90 << 180 << Phases{{90, 180}};
        QTest::newRow("merge into one")
            << Runs{{10, 49}, {100, 149}} << 40 << 120 << Phases{{40, 120}};
        QTest::newRow("shrink") << Runs{{90, 179}} << 100 << 150 << Phases{{100, 150}};
        QTest::newRow("same again") << Runs{{90, 179}} << 90 << 180 << Phases{{90, 180}};
        QTest::newRow("delete inside") << Runs{{90, 179}} << 120 << 120 << Phases{};
        QTest::newRow("delete at off") << Runs{{90, 179}} << 180 << 180 << Phases{};
        QTest::newRow("delete nothing") << Runs{{90, 179}} << 200 << 200 << Phases{{90, 180}};
        QTest::newRow("wrap") << Runs{} << 300 << 30 << Phases{{300, 30}};
        QTest::newRow("wrap to zero removes run at 0")
            << Runs{{0, 19}} << 300 << 0 << Phases{{300, 0}};
        QTest::newRow("zero start keeps wrap run")
            << Runs{{300, 359}} << 0 << 30 << Phases{{300, 30}};
        QTest::newRow("all on re-entered") << Runs{{0, 359}} << 0 << 359 << Phases{{0, 359}};
        QTest::newRow("trim does not wrap down")
            << Runs{{350, 359}} << 0 << 10 << Phases{{350, 10}};
        QTest::newRow("on 0 off 359 empty") << Runs{} << 0 << 359 << Phases{{0, 359}};
        QTest::newRow("out of range clamped") << Runs{} << -5 << 400 << Phases{{0, 359}};
    }
    void setPhase() {
        QFETCH(Runs, before);
        QFETCH(int, on);
        QFETCH(int, off);
        QFETCH(Phases, after);
        CamProgram p;
        fillRuns(p, 1, 1, before);
        fillRuns(p, 1, 2, before);
        p.SetPhase(1, 1, on, off);
        QCOMPARE(p.ListPhases(1, 1), after);
        // No other cam is touched.
        CamProgram untouched;
        fillRuns(untouched, 1, 2, before);
        QCOMPARE(onDegrees(p, 1, 2), onDegrees(untouched, 1, 2));
    }

    void setPhaseDegrees() {
        CamProgram p;
        p.SetPhase(1, 1, 90, 180);
        QCOMPARE(onDegrees(p, 1, 1), range(90, 179));
        p.SetPhase(1, 2, 300, 30);
        QCOMPARE(onDegrees(p, 1, 2), range(0, 29) + range(300, 359));
    }

    void resetToNew() {
        CamProgram p;
        QVERIFY(p.Reconfigure(16, 44, false));
        p.SetPhase(44, 16, 1, 2);
        p.SetCamName(3, QStringLiteral("PUMP"));
        p.Parameters.AdvanceCount = 4;
        p.Parameters.CamAdvance[2] = 7;
        p.Parameters.SpeedLimit = 300;
        p.CurrentFormat = 40;
        p.CurrentCam = 9;
        p.CurrentFileName = QStringLiteral("/tmp/X.CAM");
        p.MarkChanged();
        p.ResetToNew();
        QCOMPARE(p.CamCount(), 16);
        QCOMPARE(p.FormatCount(), 44);
        QVERIFY(p.ListPhases(44, 16).empty());
        QVERIFY(p.CamName(3).isEmpty());
        QCOMPARE(int(p.Parameters.AdvanceCount), 0);
        QCOMPARE(int(p.Parameters.CamAdvance[2]), 0);
        QCOMPARE(int(p.Parameters.SpeedLimit), 0);
        QCOMPARE(p.CurrentFormat, 1);
        QCOMPARE(p.CurrentCam, 1);
        QVERIFY(p.CurrentFileName.isEmpty());
        QVERIFY(p.ProgramSaved);
    }

    void savedFlag() {
        CamProgram p;
        p.MarkChanged();
        QVERIFY(!p.ProgramSaved);
        p.MarkSaved();
        QVERIFY(p.ProgramSaved);
    }

    // The model holds a name as given (a file's leading blanks are part of it); only the
    // entry field trims.
    void namesKeptAsGivenAndCut() {
        CamProgram p;
        p.SetCamName(1, QStringLiteral("  PUMP  "));
        QCOMPARE(p.CamName(1), QStringLiteral("  PUMP  "));
        p.SetCamName(2, QStringLiteral("ABCDEFGHIJKLMNOPQ"));
        QCOMPARE(p.CamName(2), QStringLiteral("ABCDEFGHIJKLMN"));
        p.SetCamName(25, QStringLiteral("X")); // out of range: ignored
        QCOMPARE(p.CamNames().size(), 24);
    }
};

QTEST_APPLESS_MAIN(TestCamProgram)
#include "tst_camprogram.moc"
