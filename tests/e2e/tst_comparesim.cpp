#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "support/CliRun.h"
#include "support/ProgramPair.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// q517-cli diff on cam files, and verify against q517-sim on a real pseudo-terminal.
class TestCompareSim : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QString fileA_;
    QString fileB_;

private slots:
    void initTestCase() {
        fileA_ = home_.filePath(QStringLiteral("A.CAM"));
        fileB_ = home_.filePath(QStringLiteral("B.CAM"));
        QVERIFY(WriteCamFile(ProgramPair::A(), fileA_, false));
        QVERIFY(WriteCamFile(ProgramPair::B(), fileB_, false));
        writtenA_ = readAll(fileA_);
    }

    void diffPrintsOneLinePerCam() {
        const CliRun run = CliRun::Run({QStringLiteral("diff"), fileA_, fileB_}, home_.path());
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QStringLiteral("F01 C03  A: 020 080  B: 020 090\n"
                                         "F04 C16  A: 300 030, 090 180  B: 090 180\n"));
        const CliRun same = CliRun::Run({QStringLiteral("diff"), fileA_, fileA_}, home_.path());
        QCOMPARE(same.status, 0);
        QCOMPARE(same.out, QString());
        QCOMPARE(readAll(fileA_), writtenA_);
    }

    void diffJson() {
        const CliRun run = CliRun::Run(
            {QStringLiteral("diff"), QStringLiteral("--json"), fileA_, fileB_}, home_.path());
        QCOMPARE(run.status, 1);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.value(QStringLiteral("same")), QJsonValue(false));
        QCOMPARE(o.value(QStringLiteral("type")).toArray(),
                 (QJsonArray{QStringLiteral("C16-10"), QStringLiteral("C16-10")}));
        const QJsonArray cams = o.value(QStringLiteral("cams")).toArray();
        QCOMPARE(cams.size(), 2);
        QCOMPARE(cams[1].toObject().value(QStringLiteral("a")).toArray(),
                 (QJsonArray{QJsonArray{300, 30}, QJsonArray{90, 180}}));
    }

    void diffTrouble_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("stderrText");
        // In Italian, the language of a q517-cli without an options file.
        QTest::newRow("missing file") << QStringList{"A.CAM", "NOWHERE.CAM"} << "file inesistente";
        QTest::newRow("one file") << QStringList{"A.CAM"} << "uso: q517-cli diff";
        QTest::newRow("unknown option") << QStringList{"A.CAM", "B.CAM", "--jsn"} << "--jsn";
        QTest::newRow("unreadable file") << QStringList{"A.CAM", "BAD.CAM"} << "BAD.CAM: riga 1";
    }
    void diffTrouble() {
        QFETCH(QStringList, args);
        QFETCH(QString, stderrText);
        QFile bad(home_.filePath(QStringLiteral("BAD.CAM")));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("not a cam file\r\n") > 0);
        bad.close();
        for (QString& a : args) {
            if (a.endsWith(QLatin1String(".CAM")))
                a = home_.filePath(a);
        }
        const CliRun run = CliRun::Run(QStringList{QStringLiteral("diff")} + args, home_.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(stderrText), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

    void verifyAgainstTheSimulator_data() {
        QTest::addColumn<QString>("simProgram");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::newRow("same program") << "A.CAM" << 0 << "";
        QTest::newRow("two cams differ") << "B.CAM" << 1
                                         << "F01 C03  A: 020 080  B: 020 090\n"
                                            "F04 C16  A: 300 030, 090 180  B: 090 180\n";
    }
    void verifyAgainstTheSimulator() {
        QFETCH(QString, simProgram);
        QFETCH(int, status);
        QFETCH(QString, out);
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--program"),
                        home_.filePath(simProgram)});
        QVERIFY2(sim.started(), qPrintable(sim.errorOutput()));
        const CliRun run = CliRun::Run(
            {QStringLiteral("verify"), fileA_, QStringLiteral("--device"), link}, home.path());
        QVERIFY2(run.status == status, qPrintable(run.err));
        QCOMPARE(run.out, out);
        // The reception leaves its transfer file, as any reception does, and the file is kept.
        QVERIFY(QFile::exists(home.filePath(QStringLiteral("q517/__.__"))));
        QCOMPARE(readAll(fileA_), writtenA_);
    }

    void verifyJsonHasTheFileAsA() {
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        SimProcess sim({QStringLiteral("--link"), link, QStringLiteral("--program"), fileB_});
        QVERIFY(sim.started());
        const CliRun run = CliRun::Run({QStringLiteral("verify"), fileA_, QStringLiteral("--json"),
                                        QStringLiteral("--device"), link},
                                       home.path());
        QCOMPARE(run.status, 1);
        const QJsonObject cam = QJsonDocument::fromJson(run.out.toUtf8())
                                    .object()
                                    .value(QStringLiteral("cams"))
                                    .toArray()
                                    .at(0)
                                    .toObject();
        QCOMPARE(cam.value(QStringLiteral("a")).toArray(), (QJsonArray{QJsonArray{20, 80}}));
        QCOMPARE(cam.value(QStringLiteral("b")).toArray(), (QJsonArray{QJsonArray{20, 90}}));
    }

    void verifyTrouble_data() {
        QTest::addColumn<QStringList>("simArgs"); // empty: no simulator
        QTest::addColumn<QString>("stderrText");
        QTest::newRow("another type")
            << QStringList{QStringLiteral("--type"), QStringLiteral("24-28")} << "C24-28";
        QTest::newRow("reception breaks off")
            << QStringList{QStringLiteral("--program"), QStringLiteral("B.CAM"),
                           QStringLiteral("--fault"), QStringLiteral("silent-after=3")}
            << "non è arrivato intero";
        QTest::newRow("no controller") << QStringList() << "COM";
    }
    void verifyTrouble() {
        QFETCH(QStringList, simArgs);
        QFETCH(QString, stderrText);
        QTemporaryDir home;
        const QString link = home.filePath(QStringLiteral("COM"));
        std::unique_ptr<SimProcess> sim;
        if (!simArgs.isEmpty()) {
            for (QString& a : simArgs) {
                if (a.endsWith(QLatin1String(".CAM")))
                    a = home_.filePath(a);
            }
            sim =
                std::make_unique<SimProcess>(QStringList{QStringLiteral("--link"), link} + simArgs);
            QVERIFY(sim->started());
        }
        const CliRun run = CliRun::Run(
            {QStringLiteral("verify"), fileA_, QStringLiteral("--device"), link}, home.path());
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(stderrText), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }

private:
    static QByteArray readAll(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray writtenA_;
};

QTEST_GUILESS_MAIN(TestCompareSim)
#include "tst_comparesim.moc"
