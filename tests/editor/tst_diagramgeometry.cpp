#include "editor/CamRowWalk.h"
#include "editor/DiagramDrag.h"
#include "editor/DiagramGeometry.h"
#include "editor/EntryRules.h"
#include "model/EditSession.h"

#include <QTest>

#include <algorithm>
#include <array>

using namespace DiagramGeometry;

namespace {
using Degrees = std::array<uint8_t, 360>;
using Runs = QList<QPair<int, int>>; // inclusive ON runs, never wrapping

Degrees camWith(const Runs& runs) {
    Degrees d{};
    for (const auto& run : runs)
        for (int k = run.first; k <= run.second; ++k)
            d[k] = 1;
    return d;
}
} // namespace

class TestDiagramGeometry : public QObject {
    Q_OBJECT
private slots:
    // The phase list of a cam row: the phase through 0 first, then the others in order.
    void phaseItems_data() {
        QTest::addColumn<Runs>("on");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty") << Runs{} << QStringList{};
        QTest::newRow("90..179") << Runs{{90, 179}} << QStringList{"F001 090 180"};
        QTest::newRow("through zero") << Runs{{300, 359}, {0, 29}} << QStringList{"F001 300 030"};
        QTest::newRow("only end run") << Runs{{350, 359}} << QStringList{"F001 350 000"};
        QTest::newRow("only start run") << Runs{{0, 9}} << QStringList{"F001 000 010"};
        QTest::newRow("full circle") << Runs{{0, 359}} << QStringList{"F001 000 360"};
        QTest::newRow("two inner")
            << Runs{{10, 19}, {100, 199}} << QStringList{"F001 010 020", "F002 100 200"};
        QTest::newRow("wrap listed first")
            << Runs{{0, 4}, {50, 59}, {350, 359}} << QStringList{"F001 350 005", "F002 050 060"};
        QTest::newRow("single degree 45") << Runs{{45, 45}} << QStringList{"F001 045 046"};
        QTest::newRow("run ending at 358") << Runs{{200, 358}} << QStringList{"F001 200 359"};
        QTest::newRow("degree 1 alone") << Runs{{1, 1}} << QStringList{"F001 001 002"};
    }
    void phaseItems() {
        QFETCH(Runs, on);
        QFETCH(QStringList, items);
        const Degrees d = camWith(on);
        QCOMPARE(WalkCamRow(d.data()).items, items);
    }

    void alternatingDegreesGive180Items() {
        Degrees d{};
        for (int k = 0; k < 360; k += 2)
            d[k] = 1;
        const QStringList items = WalkCamRow(d.data()).items;
        QCOMPARE(items.size(), 180);
        QCOMPARE(items.first(), QStringLiteral("F001 000 001"));
        QCOMPARE(items.last(), QStringLiteral("F180 358 359"));
    }

    // Every ON degree is painted, and nothing else.
    void paintedRunsCoverExactlyTheOnDegrees_data() {
        QTest::addColumn<Runs>("on");
        QTest::newRow("empty") << Runs{};
        QTest::newRow("inner") << Runs{{90, 179}};
        QTest::newRow("both ends") << Runs{{300, 359}, {0, 29}};
        QTest::newRow("full") << Runs{{0, 359}};
        QTest::newRow("mixed") << Runs{{0, 0}, {2, 2}, {100, 200}, {358, 359}};
    }
    void paintedRunsCoverExactlyTheOnDegrees() {
        QFETCH(Runs, on);
        const Degrees d = camWith(on);
        Degrees painted{};
        for (const PaintedRun& run : WalkCamRow(d.data()).runs) {
            QVERIFY(run.first <= run.last);
            for (int k = run.first; k <= run.last; ++k)
                painted[k] = 1;
            if (run.place == RunPlace::FromZero)
                QCOMPARE(run.first, 0);
            else if (run.place == RunPlace::ToEnd)
                QCOMPARE(run.last, 359);
            else
                QVERIFY(run.first > 0 && run.last < 359);
        }
        QVERIFY(painted == d);
    }

    void itemAngleTexts() {
        QCOMPARE(ItemOnText(QStringLiteral("F002 090 180")), QStringLiteral("090"));
        QCOMPARE(ItemOffText(QStringLiteral("F002 090 180")), QStringLiteral("180"));
        QCOMPARE(ItemOffText(QStringLiteral("F001 000 360")), QStringLiteral("360"));
        QCOMPARE(PhaseItemText(12, 5, 0), QStringLiteral("F012 005 000"));
    }

    // One degree maps to a fixed step, 0 sits at the bar's left edge, the last degree
    // stays inside the frame.
    void degreesMapLinearlyInsideTheBar_data() {
        QTest::addColumn<int>("barWidth");
        QTest::newRow("design 360 px") << 360;
        QTest::newRow("scaled 540 px") << 540;
        QTest::newRow("scaled 720 px") << 720;
        QTest::newRow("scaled 1000 px") << 1000;
    }
    void degreesMapLinearlyInsideTheBar() {
        QFETCH(int, barWidth);
        const double scale = DegreeScale(barWidth, 1);
        QVERIFY(qAbs(scale * 359 - (barWidth - 2.3)) < 1e-9);
        const int left = 33;
        QCOMPARE(DegreeToX(left, scale, 0), left);
        QVERIFY(DegreeToX(left, scale, 359) <= left + barWidth - 2);
        for (int d = 1; d < 360; ++d) {
            const int step = DegreeToX(left, scale, d) - DegreeToX(left, scale, d - 1);
            QVERIFY2(qAbs(step - scale) < 1.0, qPrintable(QString::number(d)));
        }
        // The mouse reads back the degree drawn under it; where two degrees share a pixel
        // (a bar narrower than 360 degrees) it reads one drawn on that very pixel.
        for (int d = 0; d <= 360; ++d) {
            const int x = DegreeToX(left, scale, d);
            QCOMPARE(DegreeToX(left, scale, XToPosition(left, scale, x)), x);
            if (scale >= 1)
                QCOMPARE(XToPosition(left, scale, x), d);
        }
        for (int x = left; x <= left + barWidth; ++x) {
            const int drawn = DegreeToX(left, scale, XToPosition(left, scale, x));
            QVERIFY2(qAbs(drawn - x) <= qCeil(scale / 2), qPrintable(QString::number(x)));
        }
        // An angle at speed in tenths lands on its whole degree's pixel, and between them in order.
        for (int t = 0; t < 3600; ++t) {
            QVERIFY(TenthsToX(left, scale, t + 1) >= TenthsToX(left, scale, t));
            if (t % 10 == 0)
                QCOMPARE(TenthsToX(left, scale, t), DegreeToX(left, scale, t / 10));
        }
        QCOMPARE(XToPosition(left, scale, left - 50), 0);
        QCOMPARE(XToPosition(left, scale, left + barWidth + 50), 360);
        // With Shift the pointer lands on the nearest five degrees of what it reads.
        for (int x = left - 3; x <= left + barWidth + 3; ++x)
            QCOMPARE(PositionAt(left, scale, x, true), Snapped(XToPosition(left, scale, x)));
        // The readout's column covers one degree from the first bar down to the last.
        const BarBox first{left, 27, barWidth, 9};
        const BarBox last{left, 27 + 12 * 23, barWidth, 9};
        const PixelRect column = ReadoutColumn(first, last, scale, 127);
        QCOMPARE(column.x, DegreeToX(left, scale, 127));
        QCOMPARE(column.width, qMax(1, qRound(scale)));
        QCOMPARE(column.y + column.height, last.top + last.height);
        QVERIFY(BarContains(first, left, 27) && BarContains(first, left + barWidth - 1, 35));
        QVERIFY(!BarContains(first, left + barWidth, 30) && !BarContains(first, left, 36));
    }

    // A drag on a bar draws the phase between press and release; leftwards it runs
    // through 0 only when the pointer went past the bar's end on the way.
    void drawnPhase_data() {
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("release");
        QTest::addColumn<bool>("crossedEnd");
        QTest::addColumn<QString>("phase");
        QTest::newRow("90 to 180") << 90 << 180 << false << "90-180";
        QTest::newRow("leftwards 180 to 90") << 180 << 90 << false << "90-180";
        QTest::newRow("leftwards past the end") << 300 << 30 << true << "300-30";
        QTest::newRow("leftwards past the end onto 0") << 300 << 0 << true << "300-0";
        QTest::newRow("rightwards past the end") << 30 << 300 << true << "30-300";
        QTest::newRow("to the bar's end") << 300 << 360 << false << "300-0";
        QTest::newRow("the whole bar") << 0 << 360 << false << "0-359";
        QTest::newRow("click") << 127 << 127 << false << "";
        QTest::newRow("from the end to 0 is no delete") << 360 << 0 << true << "";
    }
    void drawnPhase() {
        QFETCH(int, press);
        QFETCH(int, release);
        QFETCH(bool, crossedEnd);
        QFETCH(QString, phase);
        const std::optional<Phase> drawn = DiagramDrag::DrawnPhase(press, release, crossedEnd);
        QCOMPARE(drawn ? QStringLiteral("%1-%2").arg(drawn->On).arg(drawn->Off) : QString(), phase);
    }

    void snapsToFiveDegrees() {
        const QList<QPair<int, int>> cases{{0, 0},     {2, 0},     {3, 5},     {127, 125},
                                           {128, 130}, {357, 355}, {358, 360}, {360, 360}};
        for (const auto& c : cases)
            QCOMPARE(Snapped(c.first), c.second);
    }

    void readout() {
        QCOMPARE(DiagramDrag::Readout(5, 127), QString::fromUtf8("C 05 \u00B7 127\u00B0"));
        QCOMPARE(DiagramDrag::Readout(12, 7), QString::fromUtf8("C 12 \u00B7 007\u00B0"));
    }

    // A press grips the nearest phase edge within two pixels.
    void gripAt_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("grip");
        QTest::newRow("on 90") << 90 << "90-180 on";
        QTest::newRow("two px right of off 180") << 182 << "90-180 off";
        QTest::newRow("three px off") << 183 << "";
        QTest::newRow("inside") << 120 << "";
        QTest::newRow("gap of one degree: nearest") << 252 << "252-260 on";
        QTest::newRow("off of a phase through 0") << 31 << "300-30 off";
        QTest::newRow("on of a phase through 0") << 299 << "300-30 on";
    }
    void gripAt() {
        QFETCH(int, x);
        QFETCH(QString, grip);
        const std::vector<Phase> phases{{90, 180}, {200, 250}, {252, 260}, {300, 30}};
        // One pixel a degree from x = 0, so x reads as a degree.
        const auto g = DiagramDrag::GripAt(phases, 0, 1.0, x);
        QString found;
        if (g)
            found = QStringLiteral("%1-%2 %3")
                        .arg(g->phase.On)
                        .arg(g->phase.Off)
                        .arg(g->edge == DiagramDrag::Edge::On ? "on" : "off");
        QCOMPARE(found, grip);
    }

    // An edge goes where it is dragged, but stops one degree short of the phase's other
    // edge and of its neighbours.
    void draggedPhase_data() {
        QTest::addColumn<QList<int>>("cam"); // ON, OFF pairs
        QTest::addColumn<int>("gripped");    // index of the phase
        QTest::addColumn<bool>("onEdge");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("phase");
        const QList<int> alone{90, 180};
        const QList<int> two{90, 180, 200, 250};
        QTest::newRow("off 180 to 200") << alone << 0 << false << 200 << "90-200";
        QTest::newRow("off past its on") << alone << 0 << false << 10 << "90-91";
        QTest::newRow("on past its off") << alone << 0 << true << 250 << "179-180";
        QTest::newRow("on to 0") << alone << 0 << true << 0 << "0-180";
        QTest::newRow("off to the bar's end") << alone << 0 << false << 360 << "90-0";
        QTest::newRow("off into a neighbour") << two << 0 << false << 230 << "90-199";
        QTest::newRow("on into a neighbour") << two << 1 << true << 100 << "181-250";
        QTest::newRow("through 0, off later")
            << QList<int>{300, 30} << 0 << false << 40 << "300-40";
        QTest::newRow("through 0, off to 0") << QList<int>{300, 30} << 0 << false << 0 << "300-0";
        QTest::newRow("through 0, on to the end")
            << QList<int>{300, 30} << 0 << true << 360 << "0-30";
        QTest::newRow("through 0, on stops short of off")
            << QList<int>{300, 30} << 0 << true << 5 << "31-30";
        QTest::newRow("neighbour across 0")
            << QList<int>{10, 50, 300, 350} << 1 << false << 360 << "300-0";
        QTest::newRow("neighbour across 0 holds the off")
            << QList<int>{0, 50, 300, 350} << 1 << false << 360 << "300-359";
        QTest::newRow("to the end, then on")
            << QList<int>{350, 0} << 0 << false << 355 << "350-355";
    }
    void draggedPhase() {
        QFETCH(QList<int>, cam);
        QFETCH(int, gripped);
        QFETCH(bool, onEdge);
        QFETCH(int, position);
        QFETCH(QString, phase);
        std::vector<Phase> phases;
        for (int i = 0; i < cam.size(); i += 2)
            phases.push_back({cam[i], cam[i + 1]});
        const DiagramDrag::Grip grip{phases[std::size_t(gripped)],
                                     onEdge ? DiagramDrag::Edge::On : DiagramDrag::Edge::Off};
        const Phase moved = DiagramDrag::DraggedPhase(phases, grip, position);
        QCOMPARE(QStringLiteral("%1-%2").arg(moved.On).arg(moved.Off), phase);
    }

    // Whatever cam and wherever an edge is dragged, the move changes that one phase and
    // leaves every other phase exactly as it was.
    void draggingAnEdgeNeverTouchesAnotherPhase() {
        quint32 seed = 17;
        auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return int((seed >> 8) % quint32(n));
        };
        for (int round = 0; round < 200; ++round) {
            Degrees d{};
            const int density = 2 + next(40);
            for (int k = 0; k < 360; ++k)
                d[k] = next(density) < 2 ? 1 : 0;
            if (std::all_of(d.begin(), d.end(), [](uint8_t v) { return v == 1; }))
                d[0] = 0;
            const std::vector<Phase> phases = ListPhasesOf(d.data());
            if (phases.empty())
                continue;
            const Phase from = phases[std::size_t(next(int(phases.size())))];
            const DiagramDrag::Grip grip{from,
                                         next(2) ? DiagramDrag::Edge::On : DiagramDrag::Edge::Off};
            const Phase to = DiagramDrag::DraggedPhase(phases, grip, next(361));
            Degrees moved = d;
            QVERIFY(MovePhaseOn(moved.data(), from, to));
            std::vector<Phase> want = phases;
            *std::find(want.begin(), want.end(), from) = to;
            std::vector<Phase> got = ListPhasesOf(moved.data());
            auto byOn = [](const Phase& a, const Phase& b) { return a.On < b.On; };
            std::sort(want.begin(), want.end(), byOn);
            std::sort(got.begin(), got.end(), byOn);
            QVERIFY2(got == want, qPrintable(QStringLiteral("round %1: %2-%3 to %4-%5")
                                                 .arg(round)
                                                 .arg(from.On)
                                                 .arg(from.Off)
                                                 .arg(to.On)
                                                 .arg(to.Off)));
        }
    }

    void runSpansByPlace() {
        const BarBox bar{33, 27, 360, 9};
        const double scale = DegreeScale(bar.width, 1);
        const Span start = RunSpan(bar, scale, 1, RunPlace::FromZero, 0, 29);
        QCOMPARE(start.first, 33);
        QCOMPARE(start.last, 33 + qRound(29 * scale));
        const Span end = RunSpan(bar, scale, 1, RunPlace::ToEnd, 300, 359);
        QCOMPARE(end.first, 33 + qRound(300 * scale));
        QCOMPARE(end.last, 33 + qRound(scale * 359));
        const Span inner = RunSpan(bar, scale, 1, RunPlace::Inside, 90, 179);
        QCOMPARE(inner.first, 33 + qRound(90 * scale + 1));
        QCOMPARE(inner.last, 33 + qRound(179 * scale + 1));
        // Background and bands stay inside the one-pixel frame.
        QCOMPARE(BackgroundSpan(bar, 1).first, 34);
        QCOMPARE(BackgroundSpan(bar, 1).last, 33 + 360 - 2);
        QCOMPARE(BlankRowSpan(bar, 1).first, 33);
        QCOMPARE(RowBand(bar, 1).first, 28);
        QCOMPARE(RowBand(bar, 1).last, 27 + 9 - 2);
    }

    // A drag's preview is framed inside the bar, one frame per piece of the phase.
    void previewFrames_data() {
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("off");
        QTest::addColumn<QList<int>>("lefts"); // degrees where the frames start
        QTest::addColumn<QList<int>>("ends");  // degrees just past their last
        QTest::newRow("inner") << 90 << 180 << QList<int>{90} << QList<int>{180};
        QTest::newRow("to the bar's end") << 300 << 0 << QList<int>{300} << QList<int>{360};
        QTest::newRow("through 0") << 300 << 30 << QList<int>{300, 0} << QList<int>{360, 30};
        QTest::newRow("one degree") << 45 << 46 << QList<int>{45} << QList<int>{46};
    }
    void previewFrames() {
        QFETCH(int, on);
        QFETCH(int, off);
        QFETCH(QList<int>, lefts);
        QFETCH(QList<int>, ends);
        const BarBox bar{33, 27, 540, 9};
        const double scale = DegreeScale(bar.width, 1);
        const std::vector<PixelRect> frames = PhaseFrames(bar, scale, on, off);
        QCOMPARE(int(frames.size()), lefts.size());
        for (int k = 0; k < lefts.size(); ++k) {
            const PixelRect& f = frames[std::size_t(k)];
            QCOMPARE(f.x, DegreeToX(bar.left, scale, lefts[k]));
            QCOMPARE(f.x + f.width, DegreeToX(bar.left, scale, ends[k]));
            QCOMPARE(f.y, bar.top + 1);
            QCOMPARE(f.height, bar.height - 2);
        }
    }

    // The grid and the scale captions sit on the bar's degrees; rows are 180 twips apart.
    void layoutAgreesWithTheDegrees() {
        const TwipsRect bar = BarTwips(1);
        for (int k = 0; k < 7; ++k) {
            const GridLine line = GridLineTwips(k);
            QCOMPARE(line.x, bar.left + bar.width * 45 * (k + 1) / 360);
            QVERIFY(line.bottom >= BarTwips(24).top + BarTwips(24).height);
            // Lines at 90, 180 and 270 begin below their captions.
            if ((k + 1) % 2 == 0)
                QVERIFY(line.top >= ScaleCaptionTwips(0).top + ScaleCaptionTwips(0).height);
        }
        for (int k = 0; k < 5; ++k) {
            const TwipsRect c = ScaleCaptionTwips(k);
            QCOMPARE(c.left + c.width / 2, bar.left + bar.width * k / 4);
        }
        // "360" must not run into the name column's header.
        const TwipsRect last = ScaleCaptionTwips(4);
        QVERIFY(last.left + last.width <= NameTwips(1).left);
        for (int row = 2; row <= 24; ++row) {
            QCOMPARE(BarTwips(row).top - BarTwips(row - 1).top, 180);
            QCOMPARE(NameTwips(row).top, NumberTwips(row).top);
            // The number caption covers its whole bar, so a click on the bar selects.
            const TwipsRect n = NumberTwips(row);
            const TwipsRect b = BarTwips(row);
            QVERIFY(n.left <= b.left && n.left + n.width >= b.left + b.width);
            QVERIFY(n.top <= b.top && n.top + n.height >= b.top + b.height);
        }
    }

    void stepperHalves_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("106x20") << 106 << 20;
        QTest::newRow("odd 101x30") << 101 << 30;
    }
    void stepperHalves() {
        QFETCH(int, width);
        QFETCH(int, height);
        const PixelRect left = StepperLeftHalf(width, height);
        const PixelRect right = StepperRightHalf(width, height);
        QCOMPARE(left.x, 0);
        QCOMPARE(left.y, 1);
        QCOMPARE(left.x + left.width - 1, qRound(width / 2.0) - 1);
        QCOMPARE(right.x, width / 2 + 3);
        QCOMPARE(right.x + right.width, width);
        QVERIFY(StepperPressIsLeft(0, width));
        QVERIFY(StepperPressIsLeft(width / 2 - 1, width));
        QVERIFY(!StepperPressIsLeft((width + 1) / 2, width));
    }

    void angleValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("clamped");
        QTest::newRow("090") << "090" << 90 << "090";
        QTest::newRow("9 then blanks") << "9__" << 9 << "9__";
        QTest::newRow("first blank") << "_12" << 0 << "_12";
        QTest::newRow("all blank") << "___" << 0 << "___";
        QTest::newRow("empty") << "" << 0 << "";
        QTest::newRow("359") << "359" << 359 << "359";
        QTest::newRow("360") << "360" << 360 << "359";
        QTest::newRow("400") << "400" << 400 << "359";
        QTest::newRow("long digits") << "99999999999" << 99999 << "359";
    }
    void angleValues() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, clamped);
        QCOMPARE(EntryRules::AngleValue(text), value);
        QCOMPARE(EntryRules::ClampedAngleText(text), clamped);
    }

    void camKeys_data() {
        using K = EntryRules::CamKey;
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("next");
        QTest::newRow("PgUp 5") << int(K::PageUp) << 5 << 24 << 4;
        QTest::newRow("PgUp wraps from 1") << int(K::PageUp) << 1 << 24 << 24;
        QTest::newRow("PgUp wraps 8 cams") << int(K::PageUp) << 1 << 8 << 8;
        QTest::newRow("PgDn 5") << int(K::PageDown) << 5 << 24 << 6;
        QTest::newRow("PgDn wraps from last") << int(K::PageDown) << 16 << 16 << 1;
        QTest::newRow("End") << int(K::End) << 3 << 16 << 16;
        QTest::newRow("Home") << int(K::Home) << 13 << 16 << 1;
        QTest::newRow("Left keeps") << int(K::Left) << 7 << 24 << 7;
        QTest::newRow("Right keeps") << int(K::Right) << 7 << 24 << 7;
        QTest::newRow("out of range is pulled in") << int(K::Right) << 30 << 8 << 8;
    }
    void camKeys() {
        QFETCH(int, key);
        QFETCH(int, current);
        QFETCH(int, count);
        QFETCH(int, next);
        QCOMPARE(EntryRules::CamAfterKey(EntryRules::CamKey(key), current, count), next);
    }
};

QTEST_APPLESS_MAIN(TestDiagramGeometry)
#include "tst_diagramgeometry.moc"
