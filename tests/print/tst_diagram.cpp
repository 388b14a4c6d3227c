#include "model/CamProgram.h"
#include "print/FormatDiagram.h"
#include "support/EnglishTexts.h"
#include "support/RecordingPrintSurface.h"

#include <QTest>

static void setOn(CamProgram& program, int format, int cam, int from, int to) {
    for (int a = from; a <= to; ++a)
        program.WriteDegree(format, cam, a, 1);
}

// The rectangles drawn as tracks (hollow) and as bars (filled), in order.
static QList<RecordingPrintSurface::Rect> rectsWithFill(const RecordingPrintSurface& s,
                                                        bool filled) {
    QList<RecordingPrintSurface::Rect> found;
    for (const auto& r : s.rects)
        if ((r.fill != 1) == filled)
            found.append(r);
    return found;
}

class DiagramTest : public QObject {
    Q_OBJECT
private slots:
    void trackGeometry_data() {
        QTest::addColumn<int>("labelEnd");
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("s");
        QTest::newRow("A4") << 2640 << 11906 << 2937 << 23;
        QTest::newRow("letter") << 2640 << 12240 << 2946 << 24;
        QTest::newRow("narrow") << 2640 << 9000 << 2865 << 16;
    }
    void trackGeometry() {
        QFETCH(int, labelEnd);
        QFETCH(int, pageWidth);
        QFETCH(int, x0);
        QFETCH(int, s);
        QCOMPARE(FormatDiagram::TrackStart(labelEnd, pageWidth), x0);
        QCOMPARE(FormatDiagram::DegreeStep(x0, pageWidth), s);
    }

    // A4 width, fixed-pitch label of 22 characters ending at 2640.
    void workedRow() {
        CamProgram program;
        program.SetCamName(1, QStringLiteral("PRESS"));
        RecordingPrintSurface surface;
        FormatDiagram diagram(surface, program, ItalianTexts());
        diagram.PrintFormatDiagram(1);

        const auto tracks = rectsWithFill(surface, false);
        QCOMPARE(tracks.size(), 24);
        QCOMPARE(tracks[0].x1, 2937);
        QCOMPARE(tracks[0].x2, 11194);
        QCOMPARE(tracks[0].y2 - tracks[0].y1, diagram.PrintRowHeight);
        QCOMPARE(tracks[0].width, 2);

        QList<int> tickX;
        for (int k = 0; k < 7; ++k) {
            const auto& tick = surface.lines[k];
            QCOMPARE(tick.x1, tick.x2);
            QCOMPARE(tick.y2, tracks[0].y1);
            QCOMPARE(tick.y1, tracks[0].y1 - diagram.PrintRowGap);
            tickX << tick.x1;
        }
        QCOMPARE(tickX, (QList<int>{3972, 5007, 6042, 7077, 8112, 9147, 10182}));

        QCOMPARE(surface.texts[0].text, QStringLiteral(" C24 -06               FORMATO N. 01"));
        QCOMPARE(surface.texts[1].text, QStringLiteral("C 01  \"PRESS         \""));
        QCOMPARE(surface.texts[1].x + 22 * 120, 2640);
    }

    void pagePlan_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<int>("rowHeight");
        QTest::addColumn<int>("rowGap");
        // Header block: 4 lines of 240, so the margins are 960 and 14918 twips are usable.
        QTest::newRow("24 cams, divisor 34") << 24 << 6 << 438 << 176;
        QTest::newRow("16 cams, divisor 22") << 16 << 10 << 678 << 239;
        QTest::newRow("8 cams, divisor 11") << 8 << 21 << 1356 << 452;
    }
    void pagePlan() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(int, rowHeight);
        QFETCH(int, rowGap);
        CamProgram program;
        QVERIFY(program.Reconfigure(cams, formats, false));
        for (int cam = 1; cam <= cams; ++cam)
            setOn(program, 1, cam, 10 * cam, 10 * cam + 5);
        RecordingPrintSurface surface;
        FormatDiagram diagram(surface, program, ItalianTexts());
        diagram.PrintFormatDiagram(1);
        QCOMPARE(diagram.PrintRowHeight, rowHeight);
        QCOMPARE(diagram.PrintRowGap, rowGap);

        // Tracks follow each other one gap apart, none overlapping, the last one above the
        // bottom margin, all on the one page.
        const auto tracks = rectsWithFill(surface, false);
        QCOMPARE(tracks.size(), cams);
        for (int i = 0; i < cams; ++i) {
            QCOMPARE(tracks[i].page, 1);
            QCOMPARE(tracks[i].x1, 2937);
            QCOMPARE(tracks[i].y2 - tracks[i].y1, rowHeight);
            if (i > 0)
                QCOMPARE(tracks[i].y1 - tracks[i - 1].y2, rowGap);
        }
        QVERIFY(tracks.first().y1 - rowGap >= 960 - rowHeight);
        QVERIFY(tracks.last().y2 <= 16838 - 960);
        QCOMPARE(surface.pagesStarted, 0);

        // Every bar inside its own track.
        const auto bars = rectsWithFill(surface, true);
        QCOMPARE(bars.size(), cams);
        for (int i = 0; i < cams; ++i) {
            QCOMPARE(bars[i].y1, tracks[i].y1);
            QCOMPARE(bars[i].y2, tracks[i].y2);
            QCOMPARE(bars[i].x1, 2937 + 10 * (i + 1) * 23);
            QCOMPARE(bars[i].x2, 2937 + (10 * (i + 1) + 5) * 23);
        }
    }

    void bars_data() {
        QTest::addColumn<QList<int>>("onRanges");   // inclusive degree ranges
        QTest::addColumn<QList<int>>("barDegrees"); // from, to per bar
        QTest::newRow("no phase") << QList<int>{} << QList<int>{};
        QTest::newRow("all on") << QList<int>{0, 359} << QList<int>{0, 360, 0, 359};
        QTest::newRow("through 0") << QList<int>{350, 359, 0, 9} << QList<int>{0, 10, 350, 359};
        QTest::newRow("100 to 199") << QList<int>{100, 199} << QList<int>{100, 199};
        QTest::newRow("one degree") << QList<int>{200, 200} << QList<int>{200, 200};
    }
    void bars() {
        QFETCH(QList<int>, onRanges);
        QFETCH(QList<int>, barDegrees);
        CamProgram program;
        for (int i = 0; i + 1 < onRanges.size(); i += 2)
            setOn(program, 4, 1, onRanges[i], onRanges[i + 1]);
        RecordingPrintSurface surface;
        FormatDiagram diagram(surface, program, ItalianTexts());
        diagram.PrintFormatDiagram(4);

        // Row 1: its track, then its bars, wide and filled; every row has 7 ticks.
        QCOMPARE(surface.lines.size(), 24 * 7);
        const auto bars = rectsWithFill(surface, true);
        QCOMPARE(bars.size(), barDegrees.size() / 2);
        const int trackTop = surface.rects[0].y1;
        for (int i = 0; i < bars.size(); ++i) {
            QCOMPARE(bars[i].x1, 2937 + barDegrees[2 * i] * 23);
            QCOMPARE(bars[i].x2, 2937 + barDegrees[2 * i + 1] * 23);
            QCOMPARE(bars[i].y1, trackTop);
            QCOMPARE(bars[i].width, 4);
        }
    }

    void rowLabel_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("empty") << ""
                               << "C 05  \"              \"";
        QTest::newRow("short padded") << "AB"
                                      << "C 05  \"AB            \"";
        QTest::newRow("exactly 14") << "ABCDEFGHIJKLMN"
                                    << "C 05  \"ABCDEFGHIJKLMN\"";
        QTest::newRow("long cut") << "ABCDEFGHIJKLMNOPQRST"
                                  << "C 05  \"ABCDEFGHIJKLMN\"";
    }
    void rowLabel() {
        QFETCH(QString, name);
        QFETCH(QString, label);
        QCOMPARE(FormatDiagram::RowLabel(5, name), label);
    }

    void degreeScaleAboveFirstRowOnly() {
        CamProgram program;
        RecordingPrintSurface surface;
        FormatDiagram diagram(surface, program, ItalianTexts());
        diagram.PrintFormatDiagram(2);
        QStringList scale;
        QList<int> xs;
        int labelY = -1;
        for (const auto& text : surface.texts) {
            if (text.text.startsWith(QLatin1String("C 01")))
                labelY = text.y;
            if (text.text.size() == 3) {
                scale << text.text;
                xs << text.x;
                QCOMPARE(text.y, labelY - (2 * diagram.PrintRowGap + 40));
                QVERIFY(text.bold);
            }
        }
        QCOMPARE(scale, (QStringList{"045", "090", "135", "180", "225", "270", "315"}));
        QCOMPARE(xs, (QList<int>{3822, 4857, 5892, 6927, 7962, 8997, 10032}));
        QCOMPARE(labelY, 960);
    }

    void emphasisRestored() {
        CamProgram program;
        RecordingPrintSurface surface;
        FormatDiagram(surface, program, ItalianTexts()).PrintFormatDiagram(1);
        QCOMPARE(surface.emphasis(), false);
        for (const auto& text : surface.texts)
            QVERIFY(text.bold);
    }
};

QTEST_GUILESS_MAIN(DiagramTest)
#include "tst_diagram.moc"
