#include "compare/DiffReport.h"
#include "compare/ProgramDiff.h"
#include "model/CamProgram.h"
#include "support/CamRuns.h"
#include "support/EnglishTexts.h"

#include <QTest>

#include <functional>

namespace {

using Change = std::function<void(CamProgram&)>;

// A 24x6 program with a little of everything, the side A of every comparison.
CamProgram baseProgram() {
    CamProgram p;
    p.Reconfigure(24, 6, false);
    CamRuns::Fill(p, 3, 5, {{10, 49}, {100, 149}});
    CamRuns::Fill(p, 1, 1, {{0, 89}});
    p.SetCamName(5, QStringLiteral("PUMP"));
    p.Parameters.AdvanceCount = 24;
    p.Parameters.CamAdvance[4] = 5;
    return p;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestProgramDiff : public QObject {
    Q_OBJECT
private slots:
    void differenceLines_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("equal") << Change([](CamProgram&) {}) << QStringList();
        QTest::newRow("one phase moved") << Change([](CamProgram& b) {
            CamRuns::Fill(b, 3, 5, {{10, 49}, {110, 159}});
        }) << QStringList{"F03 C05  A: 010 050, 100 150  B: 010 050, 110 160"};
        QTest::newRow("phase through zero listed first") << Change([](CamProgram& b) {
            CamRuns::Fill(b, 2, 7, {{100, 119}, {300, 29}});
        }) << QStringList{"F02 C07  A: none  B: 300 030, 100 120"};
        QTest::newRow("phase up to 359 ends with 000") << Change([](CamProgram& b) {
            CamRuns::Fill(b, 2, 7, {{300, 359}});
        }) << QStringList{"F02 C07  A: none  B: 300 000"};
        QTest::newRow("only degree 359 of the last cam of the last format")
            << Change([](CamProgram& b) {
                   CamRuns::Fill(b, 6, 24, {{359, 359}});
               })
            << QStringList{"F06 C24  A: none  B: 359 000"};
        QTest::newRow("full circle") << Change([](CamProgram& b) {
            CamRuns::Fill(b, 6, 24, {{0, 359}});
        }) << QStringList{"F06 C24  A: none  B: 000 360"};
        QTest::newRow("name only")
            << Change([](CamProgram& b) { b.SetCamName(5, QStringLiteral("MIXER")); })
            << QStringList{"NAME C05  A: \"PUMP\"  B: \"MIXER\""};
        QTest::newRow("only the last cam's name")
            << Change([](CamProgram& b) { b.SetCamName(24, QStringLiteral("LAST")); })
            << QStringList{"NAME C24  A: \"\"  B: \"LAST\""};
        QTest::newRow("advance only")
            << Change([](CamProgram& b) { b.Parameters.CamAdvance[4] = 7; })
            << QStringList{"ADVANCE C05  A: 5  B: 7"};
        QTest::newRow("advance of a group")
            << Change([](CamProgram& b) { b.Parameters.AdvanceCount = 6; })
            // Entry 5 now stands for cams 17..20: compared cam by cam.
            << QStringList{"NUMERO ANTICIPI  A: 24  B: 6", "ADVANCE C05  A: 5  B: 0",
                           "ADVANCE C17  A: 0  B: 5",      "ADVANCE C18  A: 0  B: 5",
                           "ADVANCE C19  A: 0  B: 5",      "ADVANCE C20  A: 0  B: 5"};
        QTest::newRow("parameters as the file spells them") << Change([](CamProgram& b) {
            b.Parameters.EncoderShift = 90;
            b.Parameters.SpeedLimit = 500;
        }) << QStringList{"SFASAMENTO ENCODER  A: 0  B: 90", "LIMITE DI VELOCITA'  A: 0  B: 500"};
        QTest::newRow("different types, nothing else compared")
            << Change([](CamProgram& b) { b.Reconfigure(24, 28, true); })
            << QStringList{"TYPE  A: C24-06  B: C24-28"};
        QTest::newRow("everything in its order")
            << Change([](CamProgram& b) {
                   b.Parameters.OutputFormat = 2;
                   b.SetCamName(1, QStringLiteral("FEED"));
                   CamRuns::Fill(b, 1, 1, {});
                   CamRuns::Fill(b, 3, 5, {});
               })
            << QStringList{"F01 C01  A: 000 090  B: none", "F03 C05  A: 010 050, 100 150  B: none",
                           "NAME C01  A: \"\"  B: \"FEED\"", "FORMATO IN USCITA  A: 0  B: 2"};
    }

    void differenceLines() {
        QFETCH(Change, change);
        QFETCH(QStringList, lines);
        const CamProgram a = baseProgram();
        CamProgram b = a;
        change(b);
        const CamProgram bBefore = b;
        const ProgramDiff diff = DiffPrograms(a, b);
        QCOMPARE(DiffLines(diff), lines);
        QCOMPARE(diff.Same(), lines.isEmpty());
        // Swapping the programs swaps the sides of every line.
        QStringList swapped;
        for (const QString& line : lines) {
            const qsizetype at = line.indexOf(QLatin1String("  A: "));
            const qsizetype bt = line.indexOf(QLatin1String("  B: "), at);
            swapped << line.left(at) + QLatin1String("  A: ") + line.mid(bt + 5) +
                           QLatin1String("  B: ") + line.mid(at + 5, bt - at - 5);
        }
        QCOMPARE(DiffLines(DiffPrograms(b, a)), swapped);
        // Neither side is touched by a comparison.
        QCOMPARE(CamRuns::FormatBytes(b, 1), CamRuns::FormatBytes(bBefore, 1));
        QCOMPARE(b.CamNames(), bBefore.CamNames());
    }

    void advanceGroupsNamedByTheirCams() {
        CamProgram a;
        a.Reconfigure(16, 10, false);
        a.Parameters.AdvanceCount = 4;
        CamProgram b = a;
        b.Parameters.CamAdvance[1] = 12;
        const ProgramDiff diff = DiffPrograms(a, b);
        QCOMPARE(DiffLines(diff), QStringList{"ADVANCE C05-08  A: 0  B: 12"});
        QCOMPARE(diff.Parameters.front().Cam, 5);
        QCOMPARE(DiffCounts(diff, EnglishTexts()), QStringLiteral("0 cams, 0 names, 1 parameter"));
    }

    void jsonObject() {
        CamProgram a = baseProgram();
        CamProgram b = a;
        CamRuns::Fill(b, 3, 5, {{10, 59}});
        CamRuns::Fill(b, 4, 2, {{300, 29}});
        b.SetCamName(5, QStringLiteral("MIX \"2\" \u00E9"));
        b.Parameters.CamAdvance[4] = 7;
        QCOMPARE(DiffJson(DiffPrograms(a, b)),
                 QByteArray("{\"same\": false, \"type\": [\"C24-06\", \"C24-06\"], \"cams\": "
                            "[{\"format\": 3, \"cam\": 5, \"a\": [[10, 50], [100, 150]], \"b\": "
                            "[[10, 60]]}, {\"format\": 4, \"cam\": 2, \"a\": [], \"b\": [[300, "
                            "30]]}], \"names\": [{\"cam\": 5, \"a\": \"PUMP\", \"b\": \"MIX "
                            "\\\"2\\\" \xC3\xA9\"}], \"parameters\": [{\"name\": \"ADVANCE "
                            "C05\", \"a\": 5, \"b\": 7}]}"));
        QCOMPARE(DiffCounts(DiffPrograms(a, b), EnglishTexts()),
                 QStringLiteral("2 cams, 1 name, 1 parameter"));
        QCOMPARE(DiffJson(DiffPrograms(a, a)),
                 QByteArray("{\"same\": true, \"type\": [\"C24-06\", \"C24-06\"], \"cams\": [], "
                            "\"names\": [], \"parameters\": []}"));
    }
};

QTEST_GUILESS_MAIN(TestProgramDiff)
#include "tst_programdiff.moc"
