#include "print/PrintedPhases.h"

#include <QTest>

#include <array>

using Degrees = std::array<uint8_t, 360>;
Q_DECLARE_METATYPE(Degrees)

// Degrees from "a-b" ranges (inclusive), each range within 0..359.
static Degrees camOn(std::initializer_list<std::pair<int, int>> ranges) {
    Degrees d{};
    for (const auto& [from, to] : ranges)
        for (int a = from; a <= to; ++a)
            d[a] = 1;
    return d;
}

class PrintedPhasesTest : public QObject {
    Q_OBJECT
private slots:
    void phaseLine_data() {
        QTest::addColumn<Degrees>("cam");
        QTest::addColumn<QString>("line");
        QTest::newRow("no phase") << camOn({}) << "";
        QTest::newRow("all on") << camOn({{0, 359}}) << "   000 360";
        QTest::newRow("through 0 and inside")
            << camOn({{350, 359}, {0, 9}, {100, 199}}) << "   350 010 - 100 200";
        QTest::newRow("300 to 358") << camOn({{300, 358}}) << "   300 359";
        QTest::newRow("300 to 359") << camOn({{300, 359}}) << "   300 000";
        QTest::newRow("from 0") << camOn({{0, 44}}) << "   000 045";
        QTest::newRow("single degrees") << camOn({{5, 5}, {7, 7}}) << "   005 006 - 007 008";
        QTest::newRow("only 359") << camOn({{359, 359}}) << "   359 000";
        QTest::newRow("only 0") << camOn({{0, 0}}) << "   000 001";
        QTest::newRow("only 358") << camOn({{358, 358}}) << "   358 359";
        QTest::newRow("three inner, ends open")
            << camOn({{10, 19}, {30, 39}, {340, 358}}) << "   010 020 - 030 040 - 340 359";
        QTest::newRow("wrap comes first")
            << camOn({{20, 29}, {200, 359}}) << "   200 000 - 020 030";
        QTest::newRow("all but one") << camOn({{0, 179}, {181, 359}}) << "   181 180";
    }
    void phaseLine() {
        QFETCH(Degrees, cam);
        QFETCH(QString, line);
        QCOMPARE(PrintedPhases::PhaseLine(cam.data()), line);
    }

    void diagramBars_data() {
        QTest::addColumn<Degrees>("cam");
        QTest::addColumn<QList<int>>("bars"); // from, to pairs in degrees
        QTest::newRow("no phase") << camOn({}) << QList<int>{};
        // The bar holding 0 reaches the first off degree; 359's bar ends at 359.
        QTest::newRow("all on") << camOn({{0, 359}}) << QList<int>{0, 360, 0, 359};
        QTest::newRow("through 0") << camOn({{350, 359}, {0, 9}}) << QList<int>{0, 10, 350, 359};
        QTest::newRow("100 to 199") << camOn({{100, 199}}) << QList<int>{100, 199};
        QTest::newRow("single degree") << camOn({{42, 42}}) << QList<int>{42, 42};
        QTest::newRow("open at 358") << camOn({{300, 358}}) << QList<int>{300, 358};
        QTest::newRow("ends at 359") << camOn({{300, 359}}) << QList<int>{300, 359};
        QTest::newRow("from 0 and inner")
            << camOn({{0, 4}, {10, 19}, {30, 30}}) << QList<int>{0, 5, 10, 19, 30, 30};
        QTest::newRow("1 and 358") << camOn({{1, 1}, {358, 358}}) << QList<int>{1, 1, 358, 358};
    }
    void diagramBars() {
        QFETCH(Degrees, cam);
        QFETCH(QList<int>, bars);
        QList<int> drawn;
        for (const PrintedPhases::Bar& bar : PrintedPhases::DiagramBars(cam.data()))
            drawn << bar.From << bar.To;
        QCOMPARE(drawn, bars);
    }
};

QTEST_GUILESS_MAIN(PrintedPhasesTest)
#include "tst_printedphases.moc"
