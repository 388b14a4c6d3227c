#include "Q517Paths.h"
#include "model/CamFileReader.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "model/FormatScratch.h"
#include "model/LanguageTexts.h"
#include "support/EnglishTexts.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The six function lines of a program of cams and formats without advance.
QStringList functionLines(const char* header = "FUNZIONI 24-06") {
    return {QString::fromLatin1(header), "NUMERO ANTICIPI  0 ",    "FORMATO IN USCITA  0 ",
            "SFASAMENTO ENCODER  0 ",    "SENSO DI ROTAZIONE  0 ", "LIMITE DI VELOCITA' 0 "};
}

QByteArray crlf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

QList<int> onDegrees(const CamProgram& p, int format, int cam) {
    QList<int> on;
    for (int d = 0; d < 360; ++d) {
        if (p.ReadDegree(format, cam, d))
            on.append(d);
    }
    return on;
}

QList<int> run(int first, int last) {
    QList<int> r;
    for (int d = first; d <= last; ++d)
        r.append(d);
    return r;
}

using Status = CamReadResult::Status;
} // namespace

class TestCamFileReader : public QObject {
    Q_OBJECT
private slots:
    // Every input the reader must refuse, with the line it must name.
    void refusesMalformedFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lineNumber");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason"); // in English
        const QStringList f = functionLines();
        QTest::newRow("empty file") << QByteArray() << 0 << ""
                                    << "the file is empty";
        QTest::newRow("first line not FUNZIONI")
            << crlf({"FUNCTIONS 24-06"}) << 1 << "FUNCTIONS 24-06"
            << "the first line is no \"FUNZIONI\" line";
        QTest::newRow("no such controller")
            << crlf(functionLines("FUNZIONI 24-10")) << 1 << "FUNZIONI 24-10"
            << "no controller has that cam and format count";
        QTest::newRow("counts that are not numbers")
            << crlf(functionLines("FUNZIONI xx-yy")) << 1 << "FUNZIONI xx-yy"
            << "no controller has that cam and format count";
        QTest::newRow("ends after the header") << crlf({"FUNZIONI 24-06"}) << 1 << "FUNZIONI 24-06"
                                               << "the file ends before the \"ANTICIPO CAMS\" line";
        QTest::newRow("ends before LIMITE") << crlf(f.mid(0, 5)) << 5 << "SENSO DI ROTAZIONE  0 "
                                            << "the file ends before the \"LIMITE\" line";
        QTest::newRow("ends after the advance lines")
            << crlf({"FUNZIONI 08-21", "ANTICIPO CAMS   01-04  ms  5 ",
                     "ANTICIPO CAMS   05-08  ms  6 "})
            << 3 << "ANTICIPO CAMS   05-08  ms  6 "
            << "the file ends before the \"FORMATO IN USCITA\" line";
        QTest::newRow("too few advance lines")
            << crlf({"FUNZIONI 08-21", "ANTICIPO CAMS   01-04  ms  5 "}) << 2
            << "ANTICIPO CAMS   01-04  ms  5 "
            << "the file ends before the \"ANTICIPO CAMS\" line";
        QTest::newRow("missing FORMATO")
            << crlf({f[0], f[1], f[3], f[4], f[5]}) << 3 << "SFASAMENTO ENCODER  0 "
            << "no \"FORMATO\" line";
        QTest::newRow("missing SFASAMENTO")
            << crlf({f[0], f[1], f[2], f[4], f[5]}) << 4 << "SENSO DI ROTAZIONE  0 "
            << "no \"SFASAMENTO\" line";
        QTest::newRow("missing SENSO")
            << crlf({f[0], f[1], f[2], f[3], f[5]}) << 5 << "LIMITE DI VELOCITA' 0 "
            << "no \"SENSO\" line";
        QTest::newRow("missing LIMITE")
            << crlf(f.mid(0, 5) + QStringList{" FORMATO N. 01"}) << 6 << " FORMATO N. 01"
            << "no \"LIMITE\" line";
        QTest::newRow("speed limit too large")
            << crlf(f.mid(0, 5) + QStringList{"LIMITE DI VELOCITA' 40000 "}) << 6
            << "LIMITE DI VELOCITA' 40000 "
            << "speed limit out of range";
        QTest::newRow("advance above 255")
            << crlf({"FUNZIONI 08-21", "ANTICIPO CAMS   01-04  ms  256 ",
                     "ANTICIPO CAMS   05-08  ms  6 ", f[2], f[3], f[4], f[5]})
            << 2 << "ANTICIPO CAMS   01-04  ms  256 "
            << "advance outside 0..255";
        QTest::newRow("negative advance")
            << crlf({"FUNZIONI 08-21", "ANTICIPO CAMS   01-04  ms  5 ",
                     "ANTICIPO CAMS   05-08  ms -6 ", f[2], f[3], f[4], f[5]})
            << 3 << "ANTICIPO CAMS   05-08  ms -6 "
            << "advance outside 0..255";
        QTest::newRow("advance line without ms")
            << crlf({"FUNZIONI 08-21", "ANTICIPO CAMS   01-04  ms  5 ", f[2], f[3], f[4], f[5]})
            << 3 << "FORMATO IN USCITA  0 "
            << "no \"ms\" in the advance line";
        QTest::newRow("format 7 of 6")
            << crlf(f + QStringList{" FORMATO N. 07", "C 01", " 010 020"}) << 7 << " FORMATO N. 07"
            << "format number outside 1..6";
        QTest::newRow("format 0") << crlf(f + QStringList{" FORMATO N. 00"}) << 7
                                  << " FORMATO N. 00"
                                  << "format number outside 1..6";
        QTest::newRow("later format out of range")
            << crlf(f + QStringList{" FORMATO N. 01", "C 01", " 010 020", " FORMATO N. 99"}) << 10
            << " FORMATO N. 99"
            << "format number outside 1..6";
        QTest::newRow("cam 25 of 24")
            << crlf(f + QStringList{" FORMATO N. 01", "C 25", " 010 020"}) << 8 << "C 25"
            << "cam number outside 1..24";
        QTest::newRow("cam 0") << crlf(f + QStringList{" FORMATO N. 01", "C 00\"ZERO\""}) << 8
                               << "C 00\"ZERO\""
                               << "cam number outside 1..24";
        QTest::newRow("phase before any cam line")
            << crlf(f + QStringList{" FORMATO N. 01", " 010 020"}) << 8 << " 010 020"
            << "phase line before any cam line";
        QTest::newRow("phase before the cam line of its own section")
            << crlf(f +
                    QStringList{" FORMATO N. 01", "C 01", " 010 020", " FORMATO N. 02", " 030 040"})
            << 11 << " 030 040"
            << "phase line before any cam line";
        QTest::newRow("OFF angle 360")
            << crlf(f + QStringList{" FORMATO N. 01", "C 01", " 010 360"}) << 9 << " 010 360"
            << "angle outside 0..359";
        QTest::newRow("ON angle negative")
            << crlf(f + QStringList{" FORMATO N. 01", "C 01", " -10 020"}) << 9 << " -10 020"
            << "not a phase ON OFF";
        QTest::newRow("angle far too large")
            << crlf(f + QStringList{" FORMATO N. 01", "C 01", " 99999999999999999999 020"}) << 9
            << " 99999999999999999999 020"
            << "angle outside 0..359";
        QTest::newRow("stray line before the first format")
            << crlf(f + QStringList{"GARBAGE", " FORMATO N. 01"}) << 7 << "GARBAGE"
            << "a line that is not a format header";
        QTest::newRow("two blank lines before the first format")
            << crlf(f + QStringList{"", "", " FORMATO N. 01"}) << 8 << ""
            << "a line that is not a format header";
    }
    void refusesMalformedFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lineNumber);
        QFETCH(QString, line);
        QFETCH(QString, reason);
        CamProgram p;
        const CamReadResult result = ReadCamBytes(p, bytes);
        QCOMPARE(result.status, Status::Failed);
        QVERIFY(result.ReadFailed());
        QCOMPARE(result.error.LineNumber, lineNumber);
        QCOMPARE(result.error.Line, line);
        QCOMPARE(CamReadReason(result.error, EnglishTexts()), reason);
    }

    // A phase line is two whole numbers and a cam number digits: anything else is a damaged
    // line, refused with its number and listed with every other one, never half read.
    void refusesDamagedLines_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("damage");
        const int phase = int(CamReadError::Damage::Phase);
        const int cam = int(CamReadError::Damage::CamNumber);
        QTest::newRow("letter in OFF") << " 030 9x0" << phase;
        QTest::newRow("letter O for zero") << " 03O 090" << phase;
        QTest::newRow("three numbers") << " 030 090 120" << phase;
        QTest::newRow("a remark after the phase") << " 100 200 # note" << phase;
        QTest::newRow("ON alone") << " 030" << phase;
        QTest::newRow("blanks alone") << "   " << phase;
        QTest::newRow("a sign") << " +30 090" << phase;
        QTest::newRow("a fraction") << " 30.5 090" << phase;
        QTest::newRow("cam number with a letter") << "C 1O" << cam;
        QTest::newRow("cam number a word") << "CAMMA" << cam;
    }
    void refusesDamagedLines() {
        QFETCH(QString, line);
        QFETCH(int, damage);
        CamProgram p;
        const QByteArray bytes = crlf(
            functionLines() + QStringList{" FORMATO N. 01", "C 01", line, " 010 020", line, "END"});
        const CamReadResult result = ReadCamBytes(p, bytes);
        QCOMPARE(result.status, Status::Failed);
        QCOMPARE(int(result.error.Damaged), damage);
        QCOMPARE(result.error.LineNumber, 9);
        QCOMPARE(result.error.Line, line);
        LanguageTexts texts;
        // Texts 380 and 381 of a script, the others empty.
        texts.LoadFromBytes(
            "head\r\n" + QByteArray("\"\"\r\n").repeated(378) +
            "\"Line %1: '%2' is not a phase ON OFF\"\r\n\"Line %1: '%2' no cam\"\r\n.");
        const QString shown = CamReadErrorText(result.error, texts);
        QCOMPARE(shown, QStringLiteral("Line 9: '%1' ").arg(line) +
                            (damage == int(CamReadError::Damage::Phase) ? "is not a phase ON OFF"
                                                                        : "no cam"));
        const QList<CamReadError> listed = DamagedLines(bytes);
        QCOMPARE(listed.size(), 2);
        QCOMPARE(listed.at(1).LineNumber, 11);
    }

    // Lines of the same file with LF ends read the same.
    void refusesTheSameWithBareLineFeeds() {
        CamProgram p;
        const QByteArray bytes =
            crlf(functionLines() + QStringList{" FORMATO N. 01", "C 30"}).replace("\r\n", "\n");
        const CamReadResult result = ReadCamBytes(p, bytes);
        QCOMPARE(result.status, Status::Failed);
        QCOMPARE(result.error.LineNumber, 8);
        QCOMPARE(result.error.Line, QStringLiteral("C 30"));
    }

    void refusedPairLeavesTheModelAlone() {
        CamProgram p;
        p.Reconfigure(16, 10, false);
        p.SetPhase(2, 3, 10, 20);
        const CamReadResult result = ReadCamBytes(p, crlf(functionLines("FUNZIONI 24-10")));
        QVERIFY(result.ReadFailed());
        QCOMPARE(p.CamCount(), 16);
        QCOMPARE(p.FormatCount(), 10);
        QCOMPARE(onDegrees(p, 2, 3), run(10, 19));
    }

    void keepsWhatWasReadBeforeAnError() {
        CamProgram p;
        const CamReadResult result = ReadCamBytes(
            p, crlf(functionLines() + QStringList{" FORMATO N. 01", "C 02\"KEPT\"", " 010 020",
                                                  " FORMATO N. 02", "C 03", " 010 400"}));
        QVERIFY(result.ReadFailed());
        QCOMPARE(onDegrees(p, 1, 2), run(10, 19));
        QCOMPARE(p.CamName(2), QStringLiteral("KEPT"));
        QVERIFY(onDegrees(p, 2, 3).isEmpty());
    }

    // Files the writer never produces but the reader has always taken.
    void acceptsTheReadersTolerances() {
        CamProgram p;
        const QStringList lines =
            functionLines("FUNZIONI 16-10") +
            QStringList{"",
                        "FORMATO N. 03", // without the leading space
                        "",
                        "C 07\"MIXER\"",
                        "C 02\"OLD\"",
                        "",
                        "  45    90",  // other spacing
                        " 200 210   ", // trailing blanks
                        "",
                        "REMARK LINE", // ignored inside a section
                        " 350 010",
                        "    FORMATO N. 04",
                        "C 2\"  NEW\"", // a later name replaces an earlier one, blanks and all
                        " 100 101",
                        "C 07",      // a cam line without a name keeps it
                        " 001 002"}; // no END
        const CamReadResult result = ReadCamBytes(p, crlf(lines));
        QVERIFY2(result.ok(), qPrintable(result.error.Reason + ": " + result.error.Line));
        QCOMPARE(p.CamCount(), 16);
        QCOMPARE(p.FormatCount(), 10);
        QCOMPARE(onDegrees(p, 3, 2), run(0, 9) + run(45, 89) + run(200, 209) + run(350, 359));
        QVERIFY(onDegrees(p, 3, 7).isEmpty());
        QCOMPARE(onDegrees(p, 4, 2), QList<int>{100});
        QCOMPARE(onDegrees(p, 4, 7), QList<int>{1});
        QCOMPARE(p.CamName(2), QStringLiteral("  NEW"));
        QCOMPARE(p.CamName(7), QStringLiteral("MIXER"));
        QVERIFY(p.ProgramSaved);
    }

    void stopsAtEnd() {
        CamProgram p;
        const CamReadResult result = ReadCamBytes(
            p, crlf(functionLines() + QStringList{" FORMATO N. 01", "C 01", " 010 020", "END",
                                                  " FORMATO N. 02", "C 01", " 010 020", "junk"}));
        QVERIFY(result.ok());
        QCOMPARE(onDegrees(p, 1, 1), run(10, 19));
        QVERIFY(onDegrees(p, 2, 1).isEmpty());
    }

    void readsAProgramWithoutFormats_data() {
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("ends after LIMITE") << QStringList{};
        QTest::newRow("one blank line") << QStringList{""};
        QTest::newRow("END at once") << QStringList{"END"};
    }
    void readsAProgramWithoutFormats() {
        QFETCH(QStringList, tail);
        CamProgram p;
        p.CurrentFormat = 4;
        const CamReadResult result = ReadCamBytes(p, crlf(functionLines("FUNZIONI 08-89") + tail));
        QVERIFY2(result.ok(), qPrintable(result.error.Reason));
        QCOMPARE(p.CamCount(), 8);
        QCOMPARE(p.FormatCount(), 89);
        QCOMPARE(p.CurrentFormat, 4);
    }

    void readsTheParameters_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("advanceCount");
        QTest::addColumn<QList<int>>("advance");
        QTest::addColumn<QList<int>>("parameters");
        QTest::newRow("groups of 4") << QStringList{"FUNZIONI 08-21",
                                                    "ANTICIPO CAMS   01-04  ms  5 ",
                                                    "ANTICIPO CAMS   05-08  ms  255 ",
                                                    "FORMATO IN USCITA  21 ",
                                                    "SFASAMENTO ENCODER  359 ",
                                                    "SENSO DI ROTAZIONE  1 ",
                                                    "LIMITE DI VELOCITA' 7 "}
                                     << 2 << QList<int>{5, 255} << QList<int>{21, 359, 1, 7};
        QTest::newRow("groups of 2, later lines not checked")
            << QStringList{"FUNZIONI 08-21",
                           "ANTICIPO CAMS   01-02  ms  1 ",
                           "ANYTHING ms  2 ",
                           "ANTICIPO CAMS   05-06  ms  3 ",
                           "xx ms 4",
                           "FORMATO IN USCITA  0 ",
                           "SFASAMENTO ENCODER  10 ",
                           "SENSO DI ROTAZIONE  0 ",
                           "LIMITE DI VELOCITA' 100 "}
            << 4 << QList<int>{1, 2, 3, 4} << QList<int>{0, 10, 0, 100};
        QTest::newRow("speed limits below 100 read back")
            << QStringList{"FUNZIONI 24-06",         "NUMERO ANTICIPI  0 ",
                           "FORMATO IN USCITA  0 ",  "SFASAMENTO ENCODER  0 ",
                           "SENSO DI ROTAZIONE  0 ", "LIMITE DI VELOCITA' 99 "}
            << 0 << QList<int>{} << QList<int>{0, 0, 0, 99};
        QTest::newRow("negative speed limit")
            << QStringList{"FUNZIONI 24-06",         "NUMERO ANTICIPI  0 ",
                           "FORMATO IN USCITA  0 ",  "SFASAMENTO ENCODER -5 ",
                           "SENSO DI ROTAZIONE  0 ", "LIMITE DI VELOCITA'-3 "}
            << 0 << QList<int>{} << QList<int>{0, -5, 0, -3};
        QTest::newRow("fractions are rounded")
            << QStringList{"FUNZIONI 24-06",         "NUMERO ANTICIPI  0 ",
                           "FORMATO IN USCITA 1.7",  "SFASAMENTO ENCODER 12.2",
                           "SENSO DI ROTAZIONE 0.9", "LIMITE DI VELOCITA' 4.6 "}
            << 0 << QList<int>{} << QList<int>{2, 12, 1, 5};
    }
    void readsTheParameters() {
        QFETCH(QStringList, lines);
        QFETCH(int, advanceCount);
        QFETCH(QList<int>, advance);
        QFETCH(QList<int>, parameters);
        CamProgram p;
        p.Parameters.AdvanceCount = 3;
        const CamReadResult result = ReadCamBytes(p, crlf(lines));
        QVERIFY2(result.ok(), qPrintable(result.error.Reason + ": " + result.error.Line));
        const FunctionParameters& f = p.Parameters;
        QCOMPARE(int(f.AdvanceCount), advanceCount);
        for (int k = 0; k < advance.size(); ++k)
            QCOMPARE(int(f.CamAdvance[k]), advance[k]);
        QCOMPARE(QList<int>({f.OutputFormat, f.EncoderShift, f.RotationSense, f.SpeedLimit}),
                 parameters);
    }

    void newCountsClearTheDegreesAndKeepTheAdvance() {
        CamProgram p;
        p.SetPhase(1, 1, 10, 20);
        p.Parameters.CamAdvance[0] = 9;
        p.Parameters.CamAdvance[20] = 8;
        const QStringList lines{"FUNZIONI 16-10",
                                "ANTICIPO CAMS   01-04  ms  1 ",
                                "x ms 2",
                                "x ms 3",
                                "x ms 4",
                                "FORMATO IN USCITA  0 ",
                                "SFASAMENTO ENCODER  0 ",
                                "SENSO DI ROTAZIONE  0 ",
                                "LIMITE DI VELOCITA' 0 "};
        QVERIFY(ReadCamBytes(p, crlf(lines)).ok());
        QCOMPARE(p.CamCount(), 16);
        QVERIFY(onDegrees(p, 1, 1).isEmpty());
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 16);
        QCOMPARE(int(p.Parameters.CamAdvance[0]), 1);
        QCOMPARE(int(p.Parameters.AdvanceCount), 4);
    }

    void readsFilesFromDisk_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::newRow("the example") << "camfile_example.CAM" << int(Status::Read);
        QTest::newRow("missing") << "NO_SUCH.CAM" << int(Status::Missing);
        QTest::newRow("no name") << "" << int(Status::Missing);
        QTest::newRow("a directory") << "." << int(Status::Unreadable);
    }
    void readsFilesFromDisk() {
        QFETCH(QString, name);
        QFETCH(int, status);
        CamProgram p;
        p.Reconfigure(8, 21, false);
        p.SetPhase(1, 1, 5, 6);
        const QString path = name.isEmpty() ? name : QStringLiteral(Q517_TEST_DATA_DIR "/") + name;
        const CamReadResult result = ReadCamFile(p, path);
        QCOMPARE(int(result.status), status);
        if (result.ok()) {
            QCOMPARE(p.CamName(1), QStringLiteral("FEEDER"));
            QCOMPARE(onDegrees(p, 1, 1), run(0, 19) + run(30, 89) + run(350, 359));
        } else {
            QCOMPARE(p.CamCount(), 8); // nothing changed
            QCOMPARE(onDegrees(p, 1, 1), QList<int>{5});
        }
    }

    // A section read into a scratch format touches nothing in the program.
    void readsASectionIntoAScratchFormat() {
        CamLineCursor in(crlf(
            {" FORMATO N. 03", "C 02\"SAW\"", " 350 010", "C 04", " 000 001", " FORMATO N. 04"}));
        QVERIFY(in.ReadLine());
        FormatScratch scratch(24);
        CamReadError error;
        QCOMPARE(ReadFormatSection(in, scratch, &error), SectionStop::FormatHeader);
        QCOMPARE(in.InputLine(), QStringLiteral(" FORMATO N. 04"));
        QCOMPARE(in.LineNumber(), 6);
        QCOMPARE(scratch.Name(2).value_or(QStringLiteral("none")), QStringLiteral("SAW"));
        QVERIFY(!scratch.Name(4));
        QVERIFY(scratch.CamDegrees(2)[355] && scratch.CamDegrees(2)[5] &&
                !scratch.CamDegrees(2)[10]);

        CamProgram p;
        p.SetPhase(5, 1, 100, 200);
        p.SetCamName(4, QStringLiteral("KEEP"));
        QVERIFY(scratch.ApplyTo(p, 5));
        QVERIFY(onDegrees(p, 5, 1).isEmpty());
        QCOMPARE(onDegrees(p, 5, 4), QList<int>{0});
        QCOMPARE(p.CamName(2), QStringLiteral("SAW"));
        QCOMPARE(p.CamName(4), QStringLiteral("KEEP"));
        QVERIFY(!scratch.ApplyTo(p, 7));
        FormatScratch other(16);
        QVERIFY(!other.ApplyTo(p, 1));
    }

    void sectionStops_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("stop");
        QTest::addColumn<QString>("line");
        QTest::newRow("next header") << crlf({"C 01", " 001 002", " FORMATO N. 02"})
                                     << int(SectionStop::FormatHeader) << " FORMATO N. 02";
        QTest::newRow("END") << crlf({"C 01", " 001 002", "END"}) << int(SectionStop::EndLine)
                             << "END";
        QTest::newRow("end of file")
            << crlf({"C 01", " 001 002"}) << int(SectionStop::EndOfFile) << " 001 002";
        QTest::newRow("a name holding END is a cam line")
            << crlf({"C 01\"BENDER\"", " 001 002"}) << int(SectionStop::EndOfFile) << " 001 002";
        QTest::newRow("bad cam") << crlf({"C 99"}) << int(SectionStop::Failed) << "C 99";
    }
    void sectionStops() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, stop);
        QFETCH(QString, line);
        CamProgram p;
        CamLineCursor in(bytes);
        QCOMPARE(int(ReadFormatSection(in, p, 2, nullptr)), stop);
        QCOMPARE(in.InputLine(), line);
        if (stop != int(SectionStop::Failed))
            QCOMPARE(onDegrees(p, 2, 1), QList<int>{1});
    }

    void sectionOfAMissingFormatIsRefused() {
        CamProgram p;
        CamLineCursor in(crlf({"C 01", " 001 002"}));
        CamReadError error;
        QCOMPARE(ReadFormatSection(in, p, 7, &error), SectionStop::Failed);
        QCOMPARE(ReadFormatSection(in, p, 0, &error), SectionStop::Failed);
    }

    // Whatever bytes come in, the reader stays inside the model (run under ASan).
    void survivesRandomDamage() {
        QFile file(QStringLiteral(Q517_TEST_DATA_DIR "/camfile_names_port_closed.CAM"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        QRandomGenerator random(517);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes = good;
            const int damage = 1 + random.bounded(8);
            for (int i = 0; i < damage; ++i) {
                const int at = random.bounded(int(bytes.size()));
                switch (random.bounded(3)) {
                case 0:
                    bytes[at] = char(random.bounded(256));
                    break;
                case 1:
                    bytes.remove(at, random.bounded(20));
                    break;
                default:
                    bytes.insert(at, "9");
                    break;
                }
            }
            CamProgram p;
            const CamReadResult result = ReadCamBytes(p, bytes);
            QVERIFY(CamProgram::IsValidPair(p.CamCount(), p.FormatCount()));
            QVERIFY(result.ok() || !result.error.Reason.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestCamFileReader)
#include "tst_camfilereader.moc"
