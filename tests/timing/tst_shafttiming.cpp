#include "timing/ShaftTiming.h"

#include <QTest>

using namespace ShaftTiming;

namespace {
struct Run {
    int on;
    int off;
};

// One cam of format 1 as "advance shift | on-off onAtSpeed offAtSpeed ms short ... | gaps".
QString timingOf(const CamTiming& c) {
    QStringList parts{QStringLiteral("A%1 S%2").arg(c.AdvanceMs).arg(c.ShiftMilli)};
    for (const TimedPhase& p : c.Phases)
        parts << QStringLiteral("%1-%2 %3 %4 %5%6")
                     .arg(p.On)
                     .arg(p.Off)
                     .arg(AngleTenthsText(p.OnAtSpeed), AngleTenthsText(p.OffAtSpeed),
                          TenthsText(p.Tenths), p.Short ? QStringLiteral(" SHORT") : QString());
    for (const TimedGap& g : c.Gaps)
        parts << QStringLiteral("gap %1-%2 %3%4")
                     .arg(g.From)
                     .arg(g.To)
                     .arg(TenthsText(g.Tenths), g.Short ? QStringLiteral(" SHORT") : QString());
    return parts.join(QStringLiteral(" | "));
}
} // namespace

Q_DECLARE_METATYPE(std::vector<Run>)

class TestShaftTiming : public QObject {
    Q_OBJECT
private slots:
    void camAtSpeed_data() {
        QTest::addColumn<int>("advanceCount");
        QTest::addColumn<int>("cam");
        QTest::addColumn<std::vector<Run>>("runs");
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("minTenths");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qlonglong>("maxRpm"); // -1: none
        // 24 cams; entry k holds 10·k ms, so the entry a cam takes shows in its advance.
        QTest::newRow("10 ms at 600 rpm is 36 degrees, earlier than ON")
            << 24 << 1 << std::vector<Run>{{10, 70}} << 600 << 200
            << "A10 S36000 | 10-70 334.0 034.0 16.7 SHORT | gap 70-10 83.3" << 500LL;
        QTest::newRow("groups of 4: cam 5 is group 2")
            << 6 << 5 << std::vector<Run>{{100, 160}} << 600 << 0
            << "A20 S72000 | 100-160 028.0 088.0 16.7 | gap 160-100 83.3" << -1LL;
        QTest::newRow("groups of 2: cam 5 is group 3")
            << 12 << 5 << std::vector<Run>{{100, 160}} << 600 << 0
            << "A30 S108000 | 100-160 352.0 052.0 16.7 | gap 160-100 83.3" << -1LL;
        QTest::newRow("no advance")
            << 0 << 5 << std::vector<Run>{{100, 160}} << 600 << 0
            << "A0 S0 | 100-160 100.0 160.0 16.7 | gap 160-100 83.3" << -1LL;
        QTest::newRow("a phase through 0 and two gaps")
            << 0 << 3 << std::vector<Run>{{350, 10}, {90, 91}} << 600 << 10
            << "A0 S0 | 90-91 090.0 091.0 0.3 SHORT | 350-10 350.0 010.0 5.6 | gap 91-350 71.9 | "
               "gap 10-90 22.2"
            << 166LL;
        QTest::newRow("on all round: one phase, no gap")
            << 24 << 2 << std::vector<Run>{{0, 360}} << 600 << 1000
            << "A20 S72000 | 0-360 288.0 288.0 100.0" << 600LL;
        QTest::newRow("1 rpm: tenths of a degree and long times")
            << 24 << 1 << std::vector<Run>{{10, 70}} << 1 << 600000
            << "A10 S60 | 10-70 009.9 069.9 10000.0 SHORT | gap 70-10 50000.0 SHORT" << 0LL;
        QTest::newRow("20000 rpm: a shift of whole turns")
            << 24 << 21 << std::vector<Run>{{10, 70}} << 20000 << 5
            << "A210 S25200000 | 10-70 010.0 070.0 0.5 | gap 70-10 2.5" << 20000LL;
    }
    void camAtSpeed() {
        QFETCH(int, advanceCount);
        QFETCH(int, cam);
        QFETCH(std::vector<Run>, runs);
        QFETCH(int, rpm);
        QFETCH(int, minTenths);
        CamProgram program;
        program.Parameters.AdvanceCount = int16_t(advanceCount);
        for (int k = 1; k <= 24; ++k)
            program.Parameters.CamAdvance[std::size_t(k - 1)] = uint8_t(10 * k);
        for (const Run& r : runs) {
            if (r.off == 360) // every degree on: no phase entry makes that in one step
                std::fill_n(program.CamDegrees(1, cam), 360, uint8_t(1));
            else
                program.SetPhase(1, cam, r.on, r.off);
        }
        const FormatTiming timing = TimeFormat(program, 1, rpm, minTenths);
        QCOMPARE(timing.Cams.size(), std::size_t(24));
        QFETCH(QString, expected);
        QFETCH(qlonglong, maxRpm);
        QCOMPARE(timingOf(timing.Cams[std::size_t(cam - 1)]), expected);
        QCOMPARE(timing.MaxRpm.value_or(-1), maxRpm);
        QCOMPARE(timing.AnyShort(), timingOf(timing.Cams[std::size_t(cam - 1)]).contains("SHORT"));
    }

    void emptyFormatHasNoHighestSpeed() {
        CamProgram program;
        const FormatTiming timing = TimeFormat(program, 1, 600, 200);
        QVERIFY(!timing.MaxRpm);
        QVERIFY(!timing.AnyShort());
    }

    void typedFigures_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rpm");     // -1: refused
        QTest::addColumn<int>("minimum"); // tenths; -1: refused
        QTest::newRow("plain") << "600" << 600 << 6000;
        QTest::newRow("blanks around") << " 20000 " << 20000 << 200000;
        QTest::newRow("zero") << "0" << -1 << 0;
        QTest::newRow("above the range") << "20001" << -1 << 200010;
        QTest::newRow("decimal point") << "2.5" << -1 << 25;
        QTest::newRow("decimal comma") << "2,5" << -1 << 25;
        QTest::newRow("two decimals") << "2.55" << -1 << -1;
        QTest::newRow("negative") << "-5" << -1 << -1;
        QTest::newRow("longer than a turn at 1 rpm") << "60000.1" << -1 << -1;
        QTest::newRow("not a number") << "fast" << -1 << -1;
        QTest::newRow("empty") << "" << -1 << -1;
    }
    void typedFigures() {
        QFETCH(QString, text);
        QFETCH(int, rpm);
        QFETCH(int, minimum);
        QCOMPARE(ParseRpm(text).value_or(-1), rpm);
        QCOMPARE(ParseMinimumTenths(text).value_or(-1), minimum);
    }

    void virtualShaft_data() {
        QTest::addColumn<int>("rpm");
        QTest::addColumn<int>("slowDown");
        QTest::addColumn<qlonglong>("after1s"); // thousandths of a degree, from 350°
        QTest::addColumn<qlonglong>("timeAt90");
        QTest::newRow("real time up to 60 rpm") << 60 << 1 << 350000LL << 2500LL;
        QTest::newRow("61 rpm: a turn of 2.95 s") << 61 << 3 << 112000LL << 2459LL;
        QTest::newRow("600 rpm slowed 20 times") << 600 << 20 << 170000LL << 250LL;
        QTest::newRow("20000 rpm") << 20000 << 667 << 169910LL << 8LL;
    }
    void virtualShaft() {
        QFETCH(int, rpm);
        QFETCH(int, slowDown);
        QFETCH(qlonglong, after1s);
        QFETCH(qlonglong, timeAt90);
        QCOMPARE(DefaultSlowDown(rpm), slowDown);
        QCOMPARE(TurnedMilli(350000, 1000, rpm, slowDown), after1s);
        QCOMPARE(AngleTimeTenths(90000, rpm), timeAt90);
    }

    void lampLitAtSpeed() {
        // Programmed 10..69 with 36 degrees of advance: lit from 334 up to 34 at speed.
        uint8_t degrees[360] = {};
        std::fill(degrees + 10, degrees + 70, 1);
        const long long shift = ShiftMilli(10, 600);
        const std::vector<std::pair<long long, bool>> angles{
            {333999, false}, {334000, true}, {0, true}, {33999, true}, {34000, false}};
        for (const auto& [angle, lit] : angles)
            QVERIFY2(OnAtSpeed(degrees, shift, angle) == lit, qPrintable(QString::number(angle)));
    }
};

QTEST_GUILESS_MAIN(TestShaftTiming)
#include "tst_shafttiming.moc"
