#include "Q517Paths.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
struct Run {
    int status = -1;
    QString out;
    QString err;
};

// Run with a data directory of its own whose options file names the English script: the
// messages below are the English texts, whatever the machine's operator chose.
Run cli(const QStringList& args) {
    static QTemporaryDir home;
    static const bool written = [] {
        QDir().mkpath(home.filePath(QStringLiteral("q517")));
        QFile options(home.filePath(QStringLiteral("q517/Q517_opt.def")));
        return options.open(QIODevice::WriteOnly) &&
               options.write("\"q517_EN.SCR\",1,\"9600\"\r\n") > 0;
    }();
    Run run;
    if (!written)
        return run;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli"), args);
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString kData = QStringLiteral(Q517_TEST_DATA_DIR "/");
const QByteArray kFunction = "FUNZIONI 24-06\r\nNUMERO ANTICIPI  0 \r\nFORMATO IN USCITA  0 \r\n"
                             "SFASAMENTO ENCODER  0 \r\nSENSO DI ROTAZIONE  0 \r\n"
                             "LIMITE DI VELOCITA' 0 \r\n";
} // namespace

class TestCamFileCli : public QObject {
    Q_OBJECT
private slots:
    // A file in another spacing, without END and with LF ends comes out in the program's form.
    void convertNormalises() {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("loose.cam"));
        const QString out = dir.filePath(QStringLiteral("OUT.CAM"));
        QVERIFY(
            writeBytes(in, QByteArray(kFunction)
                               .replace("\r\n", "\n")
                               .append("\nFORMATO N. 01\nC 1\"FEEDER\"\n  30  90\n 350 020\n")));
        const Run run = cli({QStringLiteral("convert"), in, out});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(contents(out), contents(kData + QStringLiteral("camfile_example.CAM")));
    }

    void convertKeepsGoldenFiles_data() {
        QTest::addColumn<QString>("file");
        for (const char* name : {"camfile_empty_8x21.CAM", "camfile_groups_of_4.CAM",
                                 "camfile_groups_of_2.CAM", "camfile_per_cam_8x21.CAM",
                                 "camfile_names_port_closed.CAM", "camfile_leading_blanks.CAM"})
            QTest::newRow(name) << name;
    }
    void convertKeepsGoldenFiles() {
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("OUT.CAM"));
        const Run run = cli({QStringLiteral("convert"), kData + file, out});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QCOMPARE(contents(out), contents(kData + file));
    }

    void refusedInputCreatesNoOutput_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("line");
        QTest::newRow("format 9 of 6") << kFunction + " FORMATO N. 09\r\n"
                                       << " FORMATO N. 09 : wrong cam file format";
        QTest::newRow("cam 30") << kFunction + " FORMATO N. 01\r\nC 30\r\n"
                                << "C 30 : wrong cam file format";
        QTest::newRow("empty file") << QByteArray() << "line 0";
        // The offending line reaches the terminal printable, whatever bytes it held.
        QTest::newRow("escapes and NUL")
            << kFunction + QByteArray(" FORMATO N. 01\r\nC 30\x1b]0;owned\x07\0x\r\n", 34)
            << "C 30\\x1b]0;owned\\x07\\x00x : wrong cam file format";
        QTest::newRow("a long line cut")
            << kFunction + " FORMATO N. 01\r\nC 30" + QByteArray(300, 'x') + "\r\n"
            << "C 30" + QString(116, QLatin1Char('x')) + "... : wrong cam file format";
    }
    void refusedInputCreatesNoOutput() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("IN.CAM"));
        const QString out = dir.filePath(QStringLiteral("OUT.CAM"));
        QVERIFY(writeBytes(in, bytes));
        const Run run = cli({QStringLiteral("convert"), in, out});
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(line), qPrintable(run.err));
        QVERIFY(std::none_of(run.err.begin(), run.err.end(),
                             [](QChar c) { return c.unicode() < 0x20 && c != QLatin1Char('\n'); }));
        QVERIFY(!QFile::exists(out));
        QVERIFY(run.out.isEmpty());
    }

    // A damaged phase or cam line refuses the file in every command that reads one (exit 2,
    // before any output is written or any controller touched); check lists every such line.
    void damagedLinesAreRefused_data() {
        QTest::addColumn<QStringList>("args"); // @IN: the damaged file, @OUT: a name beside it
        QTest::addColumn<int>("lines");        // how many damaged lines are named
        QTest::newRow("check") << QStringList{"check", "@IN"} << 3;
        QTest::newRow("convert") << QStringList{"convert", "@IN", "@OUT"} << 1;
        QTest::newRow("diff") << QStringList{"diff", kData + "camfile_example.CAM", "@IN"} << 1;
        QTest::newRow("send") << QStringList{"send", "@IN", "--device", "/nonexistent/tty"} << 1;
        QTest::newRow("verify") << QStringList{"verify", "@IN", "--device", "/nonexistent/tty"}
                                << 1;
    }
    void damagedLinesAreRefused() {
        QFETCH(QStringList, args);
        QFETCH(int, lines);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("PRESS.CAM"));
        QVERIFY(writeBytes(in, kFunction +
                                   " FORMATO N. 01\r\nC 01\r\n 030 9x0\r\n 030 090\r\n"
                                   "C 1O\r\n FORMATO N. 02\r\nC 02\r\n 100 200 # note\r\n"));
        args.replaceInStrings(QStringLiteral("@IN"), in);
        args.replaceInStrings(QStringLiteral("@OUT"), dir.filePath(QStringLiteral("OUT.CAM")));
        const Run run = cli(args);
        QCOMPARE(run.status, 2);
        const QStringList said = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QStringList expected{
            QStringLiteral("q517-cli: %1: Line 9: ' 030 9x0' is not a phase ON OFF").arg(in),
            QStringLiteral("q517-cli: %1: Line 11: 'C 1O' is not a cam line C nn").arg(in),
            QStringLiteral("q517-cli: %1: Line 14: ' 100 200 # note' is not a phase ON OFF")
                .arg(in)};
        QCOMPARE(said, expected.mid(0, lines));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"PRESS.CAM"});
    }

    // A name that is not UTF-8 (a Latin-1 É from an old file server) is read and written
    // under exactly its bytes, and shown with them escaped.
    void namesThatAreNotUtf8_data() {
        QTest::addColumn<QString>("command"); // for sh; $(n NAME) is NAME with \311 in it
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");       // part of what the command printed
        QTest::addColumn<QByteArray>("written"); // a file it leaves, "" = none
        QTest::newRow("check") << "check \"$(n PRESS)\"" << 0 << "type C24-06" << QByteArray();
        QTest::newRow("convert") << "convert \"$(n PRESS)\" \"$(n OUT)\"" << 0 << ""
                                 << QByteArray("OUT\xc9.CAM");
        // Without an options file q517-cli speaks Italian, the default.
        QTest::newRow("missing") << "check \"$(n NONE)\"" << 1 << "NONE\\xc9.CAM: file inesistente"
                                 << QByteArray();
    }
    void namesThatAreNotUtf8() {
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QByteArray, written);
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + '/';
        QVERIFY(writeBytes(dir.filePath("in"), contents(kData + "camfile_example.CAM")));
        QCOMPARE(::rename(folder + "in", folder + "PRESS\xc9.CAM"), 0);
        QProcess sh;
        sh.setWorkingDirectory(dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
        env.insert(QStringLiteral("CLI"), QStringLiteral(Q517_BINARY_DIR "/tools/q517-cli"));
        sh.setProcessEnvironment(env);
        sh.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("n() { printf '%s\\311.CAM' \"$1\"; }; exec \"$CLI\" ") + command});
        QVERIFY(sh.waitForFinished(60000));
        const QString output =
            QString::fromUtf8(sh.readAllStandardOutput() + sh.readAllStandardError());
        QCOMPARE(sh.exitCode(), status);
        QVERIFY2(output.contains(said), qPrintable(output));
        struct stat st {};
        if (!written.isEmpty())
            QVERIFY(::stat((folder + written).constData(), &st) == 0 && st.st_size > 100);
        // Nothing beside them (counted by bytes: the folder's listing would decode the names).
        int left = 0;
        DIR* folderEntries = ::opendir(folder.constData());
        while (const dirent* entry = folderEntries ? ::readdir(folderEntries) : nullptr)
            left += entry->d_name[0] != '.' || entry->d_name[1] == 'q';
        if (folderEntries)
            ::closedir(folderEntries);
        // The temporary folder cannot remove names it cannot decode.
        ::unlink(QByteArray(folder + "PRESS\xc9.CAM").constData());
        if (!written.isEmpty())
            ::unlink(QByteArray(folder + written).constData());
        QCOMPARE(left, written.isEmpty() ? 1 : 2);
    }

    // Input comes only from regular files of a bounded size: a FIFO without a writer, a
    // device or an oversized file is refused at once, naming the path, and nothing is written.
    void refusesWhatIsNoFileToRead_data() {
        QTest::addColumn<QStringList>("args"); // @FIFO, @BIG (a sparse file of bigSize), @OUT
        QTest::addColumn<qint64>("bigSize");
        QTest::addColumn<QString>("why");
        QTest::newRow("check of a FIFO")
            << QStringList{"check", "@FIFO"} << 0LL << "@FIFO: a FIFO, not a regular file";
        QTest::newRow("check of /dev/zero") << QStringList{"check", "/dev/zero"} << 0LL
                                            << "/dev/zero: a character device, not a regular file";
        QTest::newRow("convert of a FIFO") << QStringList{"convert", "@FIFO", "@OUT"} << 0LL
                                           << "@FIFO: a FIFO, not a regular file";
        QTest::newRow("convert above 16 MiB")
            << QStringList{"convert", "@BIG", "@OUT"} << 16 * 1024 * 1024 + 1LL
            << "@BIG: larger than the limit of 16 MiB";
        QTest::newRow("print of /dev/zero")
            << QStringList{"print", "/dev/zero", "--pdf", "@OUT"} << 0LL
            << "/dev/zero: cannot be read: a character device, not a regular file";
        QTest::newRow("hexcheck of a FIFO")
            << QStringList{"hexcheck", "@FIFO"} << 0LL << "@FIFO: a FIFO, not a regular file";
        QTest::newRow("hexcheck of /dev/zero")
            << QStringList{"hexcheck", "/dev/zero"} << 0LL
            << "/dev/zero: a character device, not a regular file";
        QTest::newRow("hexcheck above 64 MiB")
            << QStringList{"hexcheck", "@BIG"} << 64 * 1024 * 1024 + 1LL
            << "@BIG: larger than the limit of 64 MiB";
    }
    void refusesWhatIsNoFileToRead() {
        QFETCH(QStringList, args);
        QFETCH(qint64, bigSize);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QVERIFY(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("FIFO"))).constData(), 0600) ==
                0);
        QFile big(dir.filePath(QStringLiteral("BIG")));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(bigSize));
        big.close();
        for (QString& arg : args)
            arg.replace(QLatin1Char('@'), dir.path() + QLatin1Char('/'));
        why.replace(QLatin1Char('@'), dir.path() + QLatin1Char('/'));
        const Run run = cli(args);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(why), qPrintable(run.err));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("OUT"))));
    }

    // A full disk (here: the file size limit) is reported with the system's reason and the
    // old file stays whole.
    void fullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("OUT.CAM"));
        QVERIFY(writeBytes(out, kFunction));
        Run run;
        {
            FileSizeLimit limit(100);
            run = cli({QStringLiteral("convert"),
                       kData + QStringLiteral("camfile_names_port_closed.CAM"), out});
        }
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains(QStringLiteral("ERROR  61: ") + out +
                                  QStringLiteral(": File too large")),
                 qPrintable(run.err));
        QCOMPARE(contents(out), kFunction);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OUT.CAM"});
    }

    void exitStatuses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        const QString example = kData + QStringLiteral("camfile_example.CAM");
        QTest::newRow("convert without OUT") << QStringList{"convert", example} << 2;
        QTest::newRow("convert with three names")
            << QStringList{"convert", example, "/tmp/a", "/tmp/b"} << 2;
        QTest::newRow("convert of a missing file")
            << QStringList{"convert", kData + "NO_SUCH.CAM", "/tmp/q517-never-written.CAM"} << 1;
        QTest::newRow("convert into a missing directory")
            << QStringList{"convert", example, "/nonexistent-q517/OUT.CAM"} << 1;
        QTest::newRow("check without a file") << QStringList{"check"} << 2;
        QTest::newRow("check of a missing file")
            << QStringList{"check", kData + "NO_SUCH.CAM"} << 1;
    }
    void exitStatuses() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        const Run run = cli(args);
        QCOMPARE(run.status, status);
        QVERIFY(!run.err.isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral("/tmp/q517-never-written.CAM")));
    }

    void checkTellsTypeAndPhases_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("out");
        QTest::newRow("example") << "camfile_example.CAM"
                                 << "type C24-06\nphases 2\n";
        QTest::newRow("empty") << "camfile_empty_8x21.CAM"
                               << "type C08-21\nphases 0\n";
        QTest::newRow("names") << "camfile_names_port_closed.CAM"
                               << "type C16-10\nphases 3\n";
    }
    void checkTellsTypeAndPhases() {
        QFETCH(QString, file);
        QFETCH(QString, out);
        const Run run = cli({QStringLiteral("check"), kData + file});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, out);
    }
};

QTEST_GUILESS_MAIN(TestCamFileCli)
#include "tst_camfilecli.moc"
