#include "model/CamProgram.h"
#include "print/FormatListing.h"
#include "support/EnglishTexts.h"
#include "support/RecordingPrintSurface.h"

#include <QTest>

static void setOn(CamProgram& program, int format, int cam, int from, int to) {
    for (int a = from; a <= to; ++a)
        program.WriteDegree(format, cam, a, 1);
}

class ListingTest : public QObject {
    Q_OBJECT
private slots:
    // The header's own words are the operator's language's; Italian prints as it always has.
    void header_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("header");
        QTest::newRow("no file") << "q517_IT.SCR"
                                 << "" << 3 << " 517Q06               FORMATO N. 03";
        QTest::newRow("with file") << "q517_IT.SCR"
                                   << "/cams/press.CAM" << 6
                                   << " 517Q06               FORMATO N. 06  [File:/cams/press.CAM]";
        QTest::newRow("English") << "q517_EN.SCR"
                                 << "/cams/press.CAM" << 6
                                 << " 517Q06               FORMAT No. 06  [File:/cams/press.CAM]";
        QTest::newRow("German") << "q517_DE.SCR"
                                << "/cams/press.CAM" << 6
                                << " 517Q06               FORMAT Nr. 06  [Datei:/cams/press.CAM]";
        const QString longName = QStringLiteral("/home/operator/cams/line-four/") +
                                 QString(40, QLatin1Char('x')) + QStringLiteral(".CAM");
        // 35 characters of header and "  [File:" leave 37 characters of the name.
        QTest::newRow("cut to 80")
            << "q517_IT.SCR" << longName << 1
            << QStringLiteral(" 517Q06               FORMATO N. 01  [File:") + longName.left(37);
    }
    void header() {
        QFETCH(QString, script);
        QFETCH(QString, file);
        QFETCH(int, format);
        QFETCH(QString, header);
        CamProgram program;
        program.CurrentFileName = file;
        const QString printed = FormatListing::ListingHeader(program, format, ScriptTexts(script));
        QCOMPARE(printed, header);
        QVERIFY(printed.size() <= 80);
    }

    void camTitle_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("no name") << ""
                                 << "C 07";
        QTest::newRow("spaces only") << "    "
                                     << "C 07";
        QTest::newRow("leading spaces kept") << "  AB"
                                             << "C 07   \"  AB\"";
        QTest::newRow("plain") << "MIXER"
                               << "C 07   \"MIXER\"";
        QTest::newRow("trailing space") << "GLUE "
                                        << "C 07   \"GLUE \"";
    }
    void camTitle() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(FormatListing::CamTitle(7, name), title);
    }

    void wholeListing() {
        CamProgram program;
        QVERIFY(program.Reconfigure(8, 21, false));
        program.SetCamName(1, QStringLiteral("PRESS"));
        program.SetCamName(3, QStringLiteral("   "));
        setOn(program, 2, 1, 350, 359);
        setOn(program, 2, 1, 0, 9);
        setOn(program, 2, 1, 100, 199);
        setOn(program, 2, 3, 0, 359);
        setOn(program, 2, 8, 300, 358);
        setOn(program, 1, 2, 10, 20); // another format: must not show

        RecordingPrintSurface surface;
        surface.setCurrentY(600);
        FormatListing::PrintFormatListing(surface, program, 2, ItalianTexts());

        const QStringList expected = {
            "",
            " 517Q21               FORMATO N. 02",
            "",
            "C 01   \"PRESS\"",
            "   350 010 - 100 200",
            "C 02",
            "",
            "C 03",
            "   000 360",
            "C 04",
            "",
            "C 05",
            "",
            "C 06",
            "",
            "C 07",
            "",
            "C 08",
            "   300 359",
        };
        QCOMPARE(surface.printedLines(), expected);

        // The rule runs across the whole page at the height the listing started from.
        QCOMPARE(surface.lines.size(), 1);
        QCOMPARE(surface.lines[0].x1, 0);
        QCOMPARE(surface.lines[0].x2, 11906);
        QCOMPARE(surface.lines[0].y1, 600);
        QCOMPARE(surface.lines[0].y2, 600);

        // Header and titles stand out; phase lines do not.
        for (const auto& text : surface.texts) {
            const bool title = text.text.startsWith(QLatin1String("C ")) ||
                               text.text.startsWith(QLatin1String(" 517Q"));
            QVERIFY2(text.bold == title, qPrintable(text.text));
        }
        QCOMPARE(surface.texts.first().y, 600 + 240);
        QCOMPARE(surface.pagesStarted, 0);
        QCOMPARE(surface.jobsEnded, 0);
    }

    void emphasisRestored_data() {
        QTest::addColumn<bool>("before");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }
    void emphasisRestored() {
        QFETCH(bool, before);
        CamProgram program;
        RecordingPrintSurface surface;
        surface.setEmphasis(before);
        FormatListing::PrintFormatListing(surface, program, 1, ItalianTexts());
        QCOMPARE(surface.emphasis(), before);
    }

    // Sixty phases do not fit one line: none may be lost past the right edge.
    void manyPhasesWrapInsideThePage() {
        CamProgram program;
        QStringList phases;
        for (int k = 0; k < 60; ++k) {
            setOn(program, 1, 2, 6 * k, 6 * k + 2);
            phases << QStringLiteral("%1 %2")
                          .arg(6 * k, 3, 10, QLatin1Char('0'))
                          .arg(6 * k + 3, 3, 10, QLatin1Char('0'));
        }
        RecordingPrintSurface surface;
        FormatListing::PrintFormatListing(surface, program, 1, ItalianTexts());
        const QStringList lines = surface.printedLines();
        const int from = lines.indexOf(QStringLiteral("C 02")) + 1;
        const int to = lines.indexOf(QStringLiteral("C 03"));
        QCOMPARE(to - from, 7); // 9 phases a line on a page 99 characters wide
        QCOMPARE(lines[from], QStringLiteral("   000 003 - 006 009 - 012 015 - 018 021 - 024 027 - "
                                             "030 033 - 036 039 - 042 045 - 048 051"));
        QStringList printed;
        for (int i = from; i < to; ++i) {
            QVERIFY(lines[i].startsWith(QLatin1String("   ")));
            QVERIFY(lines[i].size() * 120 <= 11906);
            printed += lines[i].trimmed().split(QStringLiteral(" - "));
        }
        QCOMPARE(printed, phases);
        for (const auto& text : surface.texts)
            QVERIFY(text.x + text.text.size() * 120 <= 11906);
    }

    void overflowingListingBreaksPages() {
        CamProgram program; // 24 cams: 51 lines, more than a short page holds
        for (int cam = 1; cam <= 24; ++cam)
            setOn(program, 1, cam, cam, cam + 10);
        RecordingPrintSurface surface(11906, 4000);
        FormatListing::PrintFormatListing(surface, program, 1, ItalianTexts());
        QCOMPARE(surface.pagesStarted, 3); // 16 lines a page
        for (const auto& text : surface.texts)
            QVERIFY2(text.y >= 0 && text.y + 240 <= 4000, qPrintable(text.text));
        QCOMPARE(surface.texts.last().page, 4);
        QCOMPARE(surface.texts.last().text, QStringLiteral("   024 035"));
    }
};

QTEST_GUILESS_MAIN(ListingTest)
#include "tst_listing.moc"
