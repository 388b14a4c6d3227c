#include "functions/FunctionRules.h"
#include "model/CamProgram.h"

#include <QTest>

using Entries = std::vector<int>;
Q_DECLARE_METATYPE(Entries)

// What an accepted window writes into the program, for every cam count and mode.
class TestFunctionRules : public QObject {
    Q_OBJECT
private slots:
    void storeInto_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<Entries>("stored"); // CamAdvance(1..count) after storing
        QTest::newRow("24, groups of 4") << 24 << 6 << 1 << 6 << Entries{0, 4, 8, 12, 16, 20};
        QTest::newRow("16, groups of 4") << 16 << 10 << 1 << 4 << Entries{0, 4, 8, 12};
        QTest::newRow("8, groups of 4") << 8 << 21 << 1 << 2 << Entries{0, 4};
        QTest::newRow("8, groups of 2") << 8 << 89 << 2 << 4 << Entries{0, 2, 4, 6};
        QTest::newRow("16, one each")
            << 16 << 44 << 3 << 16 << Entries{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
        QTest::newRow("24, none") << 24 << 28 << 0 << 0 << Entries{};
    }
    void storeInto() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(Entries, stored);
        CamProgram p;
        QVERIFY(p.Reconfigure(cams, formats, false));
        std::fill(p.Parameters.CamAdvance.begin(), p.Parameters.CamAdvance.end(), 250);
        QCOMPARE(FunctionRules::AdvanceCountFor(mode, cams), count);
        QCOMPARE(FunctionRules::ModeFor(count, cams), mode);
        FunctionRules::FunctionEdit edit;
        edit.advanceCount = count;
        // Entry i of the window holds 100 + i, so the stored value tells which entry it was.
        for (int i = 0; i < cams; ++i)
            edit.entries.push_back(100 + i);
        edit.outputFormat = 3;
        edit.encoderShift = 359;
        edit.rotationSense = 1;
        edit.speedLimit = 999;
        FunctionRules::StoreInto(p, edit);
        const FunctionParameters& fp = p.Parameters;
        QCOMPARE(int(fp.AdvanceCount), count);
        for (int k = 0; k < cams; ++k) {
            const int expected = k < count ? 100 + stored[std::size_t(k)] : 250;
            QCOMPARE(int(fp.CamAdvance[std::size_t(k)]), expected);
        }
        QCOMPARE(int(fp.OutputFormat), 3);
        QCOMPARE(int(fp.EncoderShift), 359);
        QCOMPARE(int(fp.RotationSense), 1);
        QCOMPARE(int(fp.SpeedLimit), 999);
        QVERIFY(!p.ProgramSaved);
    }

    // A count read from a file that no mode gives opens as no advance, and the window's
    // entries never reach past the cams.
    void countsNoModeGives_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("5 of 24") << 5;
        QTest::newRow("25 of 24") << 25;
        QTest::newRow("negative") << -6;
    }
    void countsNoModeGives() {
        QFETCH(int, count);
        CamProgram p;
        p.Parameters.AdvanceCount = int16_t(count);
        QCOMPARE(FunctionRules::ModeFor(count, 24), int(FunctionRules::NoAdvance));
        const FunctionRules::FunctionEdit edit = FunctionRules::FromProgram(p);
        QCOMPARE(int(edit.entries.size()), 24);
        for (int entry : FunctionRules::UsedEntries(count, 24))
            QVERIFY(entry >= 0 && entry < 24);
    }
};

QTEST_MAIN(TestFunctionRules)
#include "tst_functionrules.moc"
