#include "model/CamFileReader.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
// A program of the given type with random cams, names and parameters inside the ranges the
// function-parameter window allows.
CamProgram randomProgram(int cams, int formats, QRandomGenerator& random) {
    CamProgram p;
    p.Reconfigure(cams, formats, false);
    for (int f = 1; f <= formats; ++f) {
        for (int c = 1; c <= cams; ++c) {
            switch (random.bounded(4)) {
            case 0:
                break; // an empty cam
            case 1:    // every other degree: 180 phases
                for (int d = random.bounded(2); d < 360; d += 2)
                    p.WriteDegree(f, c, d, 1);
                break;
            default: // random runs, some wrapping past 359
                for (int n = random.bounded(1, 12); n > 0; --n)
                    p.SetPhase(f, c, random.bounded(360), random.bounded(360));
                break;
            }
        }
    }
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -_.\"'ÄÖÜ");
    for (int c = 1; c <= cams; ++c) {
        QString name;
        for (int n = random.bounded(0, 15); n > 0; --n)
            name += letters.at(random.bounded(int(letters.size())));
        p.SetCamName(c, name);
    }
    const int modes[] = {0, cams / 4, cams / 2, cams};
    FunctionParameters& f = p.Parameters;
    f.AdvanceCount = int16_t(modes[random.bounded(4)]);
    for (uint8_t& a : f.CamAdvance)
        a = uint8_t(random.bounded(256));
    f.OutputFormat = int16_t(random.bounded(formats + 1));
    f.EncoderShift = int16_t(random.bounded(360));
    f.RotationSense = int16_t(random.bounded(2));
    f.SpeedLimit = int16_t(random.bounded(1000));
    p.ProgramSaved = false;
    return p;
}

void compareParameters(const CamProgram& read, const CamProgram& written) {
    const FunctionParameters& a = read.Parameters;
    const FunctionParameters& b = written.Parameters;
    QCOMPARE(a.AdvanceCount, b.AdvanceCount);
    for (int k = 0; k < b.AdvanceCount; ++k)
        QCOMPARE(a.CamAdvance[k], b.CamAdvance[k]);
    QCOMPARE(a.OutputFormat, b.OutputFormat);
    QCOMPARE(a.EncoderShift, b.EncoderShift);
    QCOMPARE(a.RotationSense, b.RotationSense);
    QCOMPARE(a.SpeedLimit, b.SpeedLimit);
}
} // namespace

class TestCamFileRoundTrip : public QObject {
    Q_OBJECT
private slots:
    void everyProgramReadsBack_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<bool>("portOpen");
        for (const auto& [cams, formats] :
             {std::pair{8, 21}, {8, 89}, {16, 10}, {16, 44}, {24, 6}, {24, 28}}) {
            for (const bool open : {false, true})
                QTest::addRow("%d-%d port %s", cams, formats, open ? "open" : "closed")
                    << cams << formats << open;
        }
    }
    void everyProgramReadsBack() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(bool, portOpen);
        QRandomGenerator random(quint32(cams * 1000 + formats + (portOpen ? 7 : 0)));
        for (int round = 0; round < 3; ++round) {
            const CamProgram written = randomProgram(cams, formats, random);
            const QByteArray bytes = CamFileContents(written, portOpen).Bytes();

            CamProgram read; // start values: 24 cams, 6 formats
            const CamReadResult result = ReadCamBytes(read, bytes);
            QVERIFY2(result.ok(), qPrintable(result.error.Reason + ": " + result.error.Line));
            QCOMPARE(read.CamCount(), cams);
            QCOMPARE(read.FormatCount(), formats);
            QVERIFY(read.ProgramSaved);
            for (int f = 1; f <= formats; ++f) {
                for (int c = 1; c <= cams; ++c) {
                    if (std::memcmp(read.CamDegrees(f, c), written.CamDegrees(f, c), 360) != 0)
                        QFAIL(qPrintable(QStringLiteral("format %1 cam %2 differs").arg(f).arg(c)));
                }
            }
            // Every name reads back exactly, blanks included; one of blanks only is not
            // written and reads back empty.
            for (int c = 1; c <= cams; ++c) {
                const QString name = written.CamName(c);
                QCOMPARE(read.CamName(c), name.trimmed().isEmpty() ? QString() : name);
            }
            compareParameters(read, written);
            // Writing what was read gives the same bytes again.
            QCOMPARE(CamFileContents(read, portOpen).Bytes(), bytes);
        }
    }
};

QTEST_GUILESS_MAIN(TestCamFileRoundTrip)
#include "tst_camfileroundtrip.moc"
