#include "Q517Paths.h"
#include "model/CamFileWriter.h"
#include "model/CamProgram.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
QByteArray golden(const QString& name) {
    QFile file(QStringLiteral(Q517_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing golden file %s", qPrintable(name));
    return file.readAll();
}

// Compares line by line first, so a failure names the first line that differs.
void compareText(const QByteArray& actual, const QByteArray& expected) {
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    for (qsizetype i = 0; i < std::min(a.size(), e.size()); ++i) {
        if (a[i] != e[i])
            QFAIL(qPrintable(QStringLiteral("line %1: got '%2', expected '%3'")
                                 .arg(i + 1)
                                 .arg(QString::fromLatin1(a[i]), QString::fromLatin1(e[i]))));
    }
    QCOMPARE(a.size(), e.size());
    QCOMPARE(actual, expected);
}

void exampleProgram(CamProgram& p) {
    p.SetCamName(1, QStringLiteral("FEEDER"));
    p.SetPhase(1, 1, 30, 90);
    p.SetPhase(1, 1, 350, 20);
}

void groupsOf(CamProgram& p, const QList<int>& values) {
    p.Parameters.AdvanceCount = int16_t(values.size());
    for (int k = 0; k < values.size(); ++k)
        p.Parameters.CamAdvance[k] = uint8_t(values[k]);
    p.Parameters.OutputFormat = 3;
    p.Parameters.EncoderShift = 120;
    p.Parameters.RotationSense = 1;
    p.Parameters.SpeedLimit = 45;
}

void namedProgram(CamProgram& p) {
    p.Reconfigure(16, 10, true);
    p.Parameters.SpeedLimit = 999;
    p.SetCamName(3, QStringLiteral("PUSHER"));
    p.SetCamName(5, QStringLiteral("     "));
    p.SetPhase(2, 5, 350, 10);
    p.SetCamName(16, QStringLiteral("  AB"));
    p.SetPhase(1, 16, 45, 46);
    p.SetPhase(3, 16, 45, 46);
}
} // namespace

using Setup = std::function<void(CamProgram&)>;
Q_DECLARE_METATYPE(Setup)

class TestCamFileWriter : public QObject {
    Q_OBJECT
private slots:
    void writesGoldenFiles_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QString>("file");
        QTest::newRow("the example file")
            << Setup(exampleProgram) << false << "camfile_example.CAM";
        QTest::newRow("no phase at all") << Setup([](CamProgram& p) { p.Reconfigure(8, 21, true); })
                                         << false << "camfile_empty_8x21.CAM";
        QTest::newRow("advance per group of 4") << Setup([](CamProgram& p) {
            groupsOf(p, {5, 10, 0, 255, 7, 9});
        }) << false << "camfile_groups_of_4.CAM";
        QTest::newRow("advance per group of 2") << Setup([](CamProgram& p) {
            groupsOf(p, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 250});
        }) << false << "camfile_groups_of_2.CAM";
        QTest::newRow("advance per cam") << Setup([](CamProgram& p) {
            p.Reconfigure(8, 21, false);
            groupsOf(p, {0, 1, 20, 255, 4, 99, 100, 8});
        }) << false << "camfile_per_cam_8x21.CAM";
        QTest::newRow("names, port closed")
            << Setup(namedProgram) << false << "camfile_names_port_closed.CAM";
        QTest::newRow("names, port open")
            << Setup(namedProgram) << true << "camfile_names_port_open.CAM";
    }
    void writesGoldenFiles() {
        QFETCH(Setup, setup);
        QFETCH(bool, portOpen);
        QFETCH(QString, file);
        CamProgram p;
        setup(p);
        compareText(CamFileContents(p, portOpen).Bytes(), golden(file));

        // The same bytes reach the disk.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OUT.CAM"));
        FileWriteError error;
        QVERIFY2(WriteCamFile(p, path, portOpen, &error), qPrintable(error.What));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), golden(file));
    }

    void buildsCamLines_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("portOpen");
        QTest::addColumn<QStringList>("lines");
        const Setup named = [](CamProgram& p) {
            p.SetCamName(2, QStringLiteral("PUSHER"));
            p.SetPhase(1, 2, 45, 90);
            p.SetPhase(3, 2, 300, 0);
        };
        QTest::newRow("format 1, port closed")
            << named << 1 << false << QStringList{"C 02\"PUSHER\"", " 045 090"};
        QTest::newRow("format 1, port open")
            << named << 1 << true << QStringList{"C 02\"PUSHER\"", " 045 090"};
        QTest::newRow("format 3, port closed")
            << named << 3 << false << QStringList{"C 02\"PUSHER\"", " 300 000"};
        QTest::newRow("format 3, port open")
            << named << 3 << true << QStringList{"C 02", " 300 000"};
        QTest::newRow("no phases, format 2") << named << 2 << false << QStringList{};
        QTest::newRow("named without phases keeps its name in format 1")
            << Setup([](CamProgram& p) { p.SetCamName(2, QStringLiteral("MIXER")); }) << 1 << true
            << QStringList{"C 02\"MIXER\""};
        QTest::newRow("wrapping phase") << Setup([](CamProgram& p) { p.SetPhase(4, 2, 350, 10); })
                                        << 4 << false << QStringList{"C 02", " 350 010"};
        QTest::newRow("single degree and the last degree") << Setup([](CamProgram& p) {
            p.SetPhase(1, 2, 1, 2);
            p.SetPhase(1, 2, 359, 0);
        }) << 1 << false << QStringList{"C 02", " 001 002", " 359 000"};
    }
    void buildsCamLines() {
        QFETCH(Setup, setup);
        QFETCH(int, format);
        QFETCH(bool, portOpen);
        QFETCH(QStringList, lines);
        CamProgram p;
        setup(p);
        CamLineBuffer buffer;
        buffer.Lines.fill(QStringLiteral("stale"));
        BuildCamLines(p, format, 2, portOpen, buffer);
        QStringList built;
        for (int i = 0; i < buffer.Count(); ++i)
            built << buffer.Lines[i];
        QCOMPARE(built, lines);
        QVERIFY(buffer.Lines[lines.isEmpty() ? 0 : lines.size()].isEmpty());
    }

    void holdsHundredEightyPhasesAndTheEndMark() {
        CamProgram p;
        for (int d = 0; d < 360; d += 2)
            p.WriteDegree(6, 24, d, 1);
        CamLineBuffer buffer;
        BuildCamLines(p, 6, 24, false, buffer);
        QCOMPARE(buffer.Count(), 181);
        QCOMPARE(buffer.Lines[0], QStringLiteral("C 24"));
        QCOMPARE(buffer.Lines[1], QStringLiteral(" 000 001"));
        QCOMPARE(buffer.Lines[180], QStringLiteral(" 358 359"));
        QVERIFY(buffer.Lines[181].isEmpty());
    }

    // An advance count the four advance modes never produce must neither divide by zero
    // nor read past the advance table.
    void oddAdvanceCountsStayInsideTheTable_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lines");
        QTest::newRow("more than the cams") << 30 << 24;
        QTest::newRow("13 of 24") << 13 << 24;
        QTest::newRow("5 of 24") << 5 << 6;
        QTest::newRow("negative") << -2 << 1;
    }
    void oddAdvanceCountsStayInsideTheTable() {
        QFETCH(int, count);
        QFETCH(int, lines);
        CamProgram p;
        std::fill(p.Parameters.CamAdvance.begin(), p.Parameters.CamAdvance.end(), 7);
        p.Parameters.AdvanceCount = int16_t(count);
        CamFileText text;
        WriteFunctionSection(p, text);
        QCOMPARE(text.LineCount(), 1 + lines + 4);
    }

    void writesNamesInWindows1252() {
        CamProgram p;
        p.SetCamName(1, QStringLiteral("SÄGE €"));
        p.SetPhase(1, 1, 1, 2);
        CamLineBuffer buffer;
        BuildCamLines(p, 1, 1, false, buffer);
        CamFileText text;
        text.AddLine(buffer.Lines[0]);
        QCOMPARE(text.Bytes(), QByteArray("C 01\"S\xC4GE \x80\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCamFileWriter)
#include "tst_camfilewriter.moc"
