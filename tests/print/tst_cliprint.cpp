#include "Q517Paths.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray CamFile = "FUNZIONI 24-06\r\n"
                           "NUMERO ANTICIPI  0 \r\n"
                           "FORMATO IN USCITA  0 \r\n"
                           "SFASAMENTO ENCODER  0 \r\n"
                           "SENSO DI ROTAZIONE  0 \r\n"
                           "LIMITE DI VELOCITA' 0 \r\n"
                           " FORMATO N. 01\r\n"
                           "C 01\"FEEDER\"\r\n"
                           " 030 090\r\n"
                           " 350 020\r\n"
                           " FORMATO N. 02\r\n"
                           "C 03\"PUSHER\"\r\n"
                           " 100 200\r\n"
                           " FORMATO N. 03\r\n"
                           " FORMATO N. 04\r\n"
                           " FORMATO N. 05\r\n"
                           " FORMATO N. 06\r\n"
                           "C 24\r\n"
                           " 000 359\r\n"
                           "END\r\n";

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Run with an empty data directory of its own: no options file, so the printouts and messages
// are Italian, the default, whatever the machine's operator chose.
Run cli(const QStringList& args) {
    static QTemporaryDir home;
    Run run;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli"),
                  QStringList{QStringLiteral("print")} + args);
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString tool(const QString& name, const QStringList& args) {
    QProcess process;
    process.start(name, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& pdf) {
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                           .match(tool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The lines of the PDF's text with runs of blanks made single.
QStringList pdfLines(const QString& pdf) {
    QStringList lines;
    const QString text =
        tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines << line.simplified();
    return lines;
}

} // namespace

class CliPrintTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString cam;

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("poppler-utils (tools/setup.sh) is not installed");
        cam = dir.filePath(QStringLiteral("press.CAM"));
        QFile file(cam);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(CamFile);
        QFile bad(dir.filePath(QStringLiteral("bad.CAM")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(QByteArray(CamFile).replace(" 100 200", " 400 010"));
    }

    void listing_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("format 1 by default")
            << QStringList{} << 1
            << QStringList{"C 01 \"FEEDER\"", "350 020 - 030 090", "C 02", "C 24"};
        QTest::newRow("format 2") << QStringList{"--format", "2"} << 1
                                  << QStringList{"C 03 \"PUSHER\"", "100 200"};
        QTest::newRow("every format")
            << QStringList{"--all"} << 6
            << QStringList{"350 020 - 030 090", "100 200", "000 359", "C 03 \"PUSHER\""};
    }
    void listing() {
        QFETCH(QStringList, options);
        QFETCH(int, pages);
        QFETCH(QStringList, lines);
        const QString pdf = dir.filePath(QStringLiteral("listing.pdf"));
        QFile::remove(pdf);
        const Run run = cli(QStringList{cam, QStringLiteral("--pdf"), pdf} + options);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(pdfPages(pdf), pages);
        const QStringList text = pdfLines(pdf);
        for (const QString& line : lines)
            QVERIFY2(text.contains(line), qPrintable(line));
        // Each page's header names its format and the file it came from.
        for (int format = 1; format <= pages; ++format) {
            const QString header =
                options.contains(QStringLiteral("--format"))
                    ? QStringLiteral("517Q06 FORMATO N. 0") + options.last()
                    : QStringLiteral("517Q06 FORMATO N. 0") + QString::number(format);
            const bool found = std::any_of(text.begin(), text.end(), [&](const QString& l) {
                return l.startsWith(header + QStringLiteral(" [File:"));
            });
            QVERIFY2(found, qPrintable(header));
        }
    }

    // A name keeps the blanks the file gave it, inside its quotes.
    void namesPrintedAsHeld() {
        const QString pdf = dir.filePath(QStringLiteral("names.pdf"));
        const Run run = cli({QStringLiteral(Q517_TEST_DATA_DIR "/camfile_leading_blanks.CAM"),
                             QStringLiteral("--pdf"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString text = tool(QStringLiteral("pdftotext"),
                                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        // pdftotext folds a run of blanks into one; the exact text is the listing's test.
        QVERIFY2(text.contains(QStringLiteral("\" AB\"")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\" GLUE \"")), qPrintable(text));
    }

    // The PDF takes the old one's place in one step. A job that fails on a full disk (here
    // the file size limit) leaves the earlier PDF whole, says why and leaves nothing beside
    // it; a file or link named OUT.pdf.part is never followed or touched.
    void pdfPutInPlaceWhole() {
        QTemporaryDir out;
        const QString pdf = out.filePath(QStringLiteral("p.pdf"));
        const QString victim = out.filePath(QStringLiteral("victim"));
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("keep") == 4);
        file.close();
        QVERIFY(QFile::link(victim, pdf + QStringLiteral(".part")));
        Run run = cli({cam, QStringLiteral("--pdf"), pdf});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(!QFileInfo(pdf).isSymLink());
        QFile good(pdf);
        QVERIFY(good.open(QIODevice::ReadOnly));
        const QByteArray goodBytes = good.readAll();
        good.close();
        QVERIFY(goodBytes.size() < 20000);
        {
            FileSizeLimit limit(20000); // the six diagram pages need more
            run = cli({cam, QStringLiteral("--pdf"), pdf, QStringLiteral("--all"),
                       QStringLiteral("--graphic")});
        }
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("impossibile scrivere ") + pdf +
                                  QStringLiteral(": File too large")),
                 qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        QVERIFY(good.open(QIODevice::ReadOnly));
        QCOMPARE(good.readAll(), goodBytes);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("keep"));
        QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::System),
                 (QStringList{"p.pdf", "p.pdf.part", "victim"}));
    }

    void diagramOnePagePerFormat() {
        const QString pdf = dir.filePath(QStringLiteral("diagram.pdf"));
        const Run run = cli({cam, QStringLiteral("--pdf"), pdf, QStringLiteral("--all"),
                             QStringLiteral("--graphic")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(pdfPages(pdf), 6);
        const QStringList text = pdfLines(pdf);
        QVERIFY(std::any_of(text.begin(), text.end(), [](const QString& l) {
            return l.startsWith(QLatin1String("C24 -06 FORMATO N. 06"));
        }));
        QVERIFY(text.contains(QStringLiteral("045 090 135 180 225 270 315")));
    }

    void refused_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        const QString pdf = QStringLiteral("@refused.pdf");
        QTest::newRow("format above")
            << QStringList{"@cam", "--pdf", pdf, "--format", "7"} << 2 << "fuori da 1..6";
        QTest::newRow("format 0") << QStringList{"@cam", "--pdf", pdf, "--format", "0"} << 2
                                  << "fuori da 1..6";
        QTest::newRow("format not a number")
            << QStringList{"@cam", "--pdf", pdf, "--format", "two"} << 2 << "non è un numero";
        QTest::newRow("no pdf") << QStringList{"@cam"} << 2 << "uso: q517-cli print";
        QTest::newRow("format and all")
            << QStringList{"@cam", "--pdf", pdf, "--all", "--format", "1"} << 2
            << "uso: q517-cli print";
        QTest::newRow("missing cam file")
            << QStringList{"@missing.CAM", "--pdf", pdf} << 1 << "missing.CAM";
        QTest::newRow("angle out of range")
            << QStringList{"@bad.CAM", "--pdf", pdf} << 1 << "400 010";
        QTest::newRow("pdf over the cam file")
            << QStringList{"@cam", "--pdf", "@cam"} << 2 << "sostituirebbe il file di camme";
    }
    void refused() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        for (QString& arg : args) {
            if (arg == QLatin1String("@cam"))
                arg = cam;
            else if (arg.startsWith(QLatin1Char('@')))
                arg = dir.filePath(arg.mid(1));
        }
        const Run run = cli(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("refused.pdf"))));
        QFile file(cam);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), CamFile);
    }
};

QTEST_GUILESS_MAIN(CliPrintTest)
#include "tst_cliprint.moc"
