#include "shell/Options.h"
#include "shell/UserSettings.h"
#include "support/FakePrompts.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
const QString kMissingMessage = QStringLiteral("FILE 'Q517_OPT.DEF' NOT FOUND!!!\n SET OPTIONS");

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void addRecentFileMovesToFront_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QStringList>("after");
        const QString a = "/plans/A.CAM", b = "/plans/B.CAM", c = "/plans/C.CAM",
                      d = "/plans/D.CAM", e = "/plans/E.CAM", f = "/plans/F.CAM";
        QTest::newRow("first file") << QStringList{} << a << QStringList{a};
        QTest::newRow("new file goes in front") << QStringList{a, b} << c << QStringList{c, a, b};
        QTest::newRow("middle entry moves up") << QStringList{a, b, c} << b << QStringList{b, a, c};
        QTest::newRow("last entry moves up") << QStringList{a, b, c} << c << QStringList{c, a, b};
        QTest::newRow("entry 1 stays") << QStringList{a, b, c} << a << QStringList{a, b, c};
        QTest::newRow("sixth drops the oldest")
            << QStringList{a, b, c, d, e} << f << QStringList{f, a, b, c, d};
        QTest::newRow("fifth moves up, nothing dropped")
            << QStringList{a, b, c, d, e} << e << QStringList{e, a, b, c, d};
        QTest::newRow("letter case counts")
            << QStringList{a, b} << "/plans/a.cam" << QStringList{"/plans/a.cam", a, b};
    }
    void addRecentFileMovesToFront() {
        QFETCH(QStringList, before);
        QFETCH(QString, opened);
        QFETCH(QStringList, after);
        Options options;
        options.RecentFiles = before;
        options.AddRecentFile(opened);
        QCOMPARE(options.RecentFiles, after);
    }

    void readsTheOptionsFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("baud");
        QTest::addColumn<QStringList>("recent");
        QTest::addColumn<QString>("warning"); // part of the one message shown; "" = none
        QTest::newRow("CR LF, two paths")
            << QByteArray("\"LANG2.SCR\",3,\"19200\"\r\nC:\\PLANS\\LINE2.CAM\r\n/home/op/x.CAM\r\n")
            << "LANG2.SCR" << 3 << "19200" << QStringList{"C:\\PLANS\\LINE2.CAM", "/home/op/x.CAM"}
            << "";
        QTest::newRow("bare LF, two paths")
            << QByteArray("\"LANG2.SCR\",3,\"19200\"\n/a/one.CAM\n/a/two.CAM\n") << "LANG2.SCR" << 3
            << "19200" << QStringList{"/a/one.CAM", "/a/two.CAM"} << "";
        QTest::newRow("last path without line end")
            << QByteArray("\"q517_EN.SCR\",2,\"9600\"\r\n/a/one.CAM") << "q517_EN.SCR" << 2
            << "9600" << QStringList{"/a/one.CAM"} << "";
        QTest::newRow("only five of seven paths")
            << QByteArray("\"L.SCR\",1,\"9600\"\r\n/1\r\n/2\r\n/3\r\n/4\r\n/5\r\n/6\r\n/7\r\n")
            << "L.SCR" << 1 << "9600" << QStringList{"/1", "/2", "/3", "/4", "/5"} << "";
        QTest::newRow("blank lines name no file")
            << QByteArray("\"L.SCR\",1,\"9600\"\r\n\r\n/1\r\n   \r\n/2\r\n") << "L.SCR" << 1
            << "9600" << QStringList{"/1", "/2"} << "";
        QTest::newRow("paths keep blanks and commas")
            << QByteArray("\"L.SCR\",1,\"9600\"\r\n/my plans/a, b.CAM\r\n") << "L.SCR" << 1
            << "9600" << QStringList{"/my plans/a, b.CAM"} << "";
        QTest::newRow("blanks around fields") << QByteArray(" \"L.SCR\" , 4 , \"38400\"\r\n")
                                              << "L.SCR" << 4 << "38400" << QStringList{} << "";
        QTest::newRow("one field keeps the other defaults")
            << QByteArray("\"ONLY.SCR\"\r\n") << "ONLY.SCR" << 1 << "9600" << QStringList{} << "";
        QTest::newRow("port that is no number reads 0")
            << QByteArray("\"L.SCR\",X,\"2400\"\r\n") << "L.SCR" << 0 << "2400" << QStringList{}
            << "";
        QTest::newRow("empty file keeps the defaults")
            << QByteArray() << "q517_IT.SCR" << 1 << "9600" << QStringList{} << "";
        QTest::newRow("Windows-1252 path")
            << QByteArray("\"L.SCR\",1,\"9600\"\r\n/citt\xe0/\x80.CAM\r\n") << "L.SCR" << 1
            << "9600" << QStringList{QString::fromUtf8("/città/€.CAM")} << "";
        // Entries no real path reaches would run the menu off the screen or hold up the start.
        QTest::newRow("recent entry over 260 characters dropped")
            << QByteArray("\"L.SCR\",1,\"9600\"\r\n/" + QByteArray(260, 'a') + "\r\n/" +
                          QByteArray(259, 'b') + "\r\n")
            << "L.SCR" << 1 << "9600" << QStringList{"/" + QString(259, QLatin1Char('b'))} << "";
        QTest::newRow("script name of 900 KB ignored")
            << QByteArray("\"" + QByteArray(900 * 1024, 'x') + "\",3,\"2400\"\r\n/1\r\n")
            << "q517_IT.SCR" << 3 << "2400" << QStringList{"/1"} << "921600 CHARACTERS";
    }

    void readsTheOptionsFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, language);
        QFETCH(int, port);
        QFETCH(QString, baud);
        QFETCH(QStringList, recent);
        QFETCH(QString, warning);
        QTemporaryDir dir;
        writeBytes(dir.filePath("q517_opt.def"), bytes);
        FakePrompts prompts;
        if (!warning.isEmpty())
            prompts.expectMessageContaining(warning);
        Options options;
        options.RecentFiles = QStringList{"/left/over.CAM"};
        QVERIFY(options.ReadOptionsFile(dir.path(), prompts));
        QCOMPARE(options.LanguageFile, language);
        QCOMPARE(int(options.PortNumber), port);
        QCOMPARE(options.BaudRate, baud);
        QCOMPARE(options.RecentFiles, recent);
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
    }

    void fileNameIsMatchedWithoutCase_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("as looked for") << "q517_opt.def";
        QTest::newRow("as read") << "q517_OPT.DEF";
        QTest::newRow("as written") << "Q517_opt.def";
        QTest::newRow("all upper") << "Q517_OPT.DEF";
    }
    void fileNameIsMatchedWithoutCase() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        writeBytes(dir.filePath(name), "\"X.SCR\",7,\"2400\"\r\n");
        FakePrompts prompts;
        Options options;
        QVERIFY(options.ReadOptionsFile(dir.path(), prompts));
        QCOMPARE(int(options.PortNumber), 7);
        // Writing replaces that file instead of adding a second one beside it.
        options.PortNumber = 8;
        QVERIFY(options.WriteOptionsFile(dir.path()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{name});
        QCOMPARE(readBytes(dir.filePath(name)), QByteArray("\"X.SCR\",8,\"2400\"\r\n"));
    }

    // A missing file, and one that is no file to read (a FIFO would block the start-up, a
    // huge one fill the memory), warn and leave the defaults.
    void missingFileWarnsAndKeepsDefaults_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // @ is the options file's path
        QTest::newRow("missing") << "" << kMissingMessage;
        QTest::newRow("a FIFO") << "fifo"
                                << "@: a FIFO, not a regular file";
        QTest::newRow("above 1 MiB") << "big"
                                     << "@: larger than the limit of 1 MiB";
    }
    void missingFileWarnsAndKeepsDefaults() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Q517_opt.def"));
        if (kind == QLatin1String("fifo"))
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QFile big(path);
        if (kind == QLatin1String("big"))
            QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(1024 * 1024 + 1));
        big.close();
        FakePrompts prompts;
        prompts.expectMessage(message.replace(QLatin1Char('@'), path));
        Options options;
        options.LanguageFile = "OLD.SCR";
        options.PortNumber = 9;
        options.RecentFiles = QStringList{"/x.CAM"};
        QVERIFY(!options.ReadOptionsFile(dir.path(), prompts));
        QVERIFY2(prompts.allShown(), qPrintable(prompts.problems()));
        QCOMPARE(prompts.messages().first().icon, Prompts::Icon::Warning);
        QCOMPARE(prompts.messages().first().buttons, Prompts::Buttons::Ok);
        QCOMPARE(options.LanguageFile, QStringLiteral("q517_IT.SCR"));
        QCOMPARE(int(options.PortNumber), 1);
        QCOMPARE(options.BaudRate, QStringLiteral("9600"));
        QVERIFY(options.RecentFiles.isEmpty());
        // The file is created at the next write, under its written name.
        QFile::remove(path);
        QVERIFY(options.WriteOptionsFile(dir.path()));
        QCOMPARE(readBytes(dir.filePath("Q517_opt.def")),
                 QByteArray("\"q517_IT.SCR\",1,\"9600\"\r\n"));
    }

    void writesListFormAndRecentFiles() {
        QTemporaryDir dir;
        Options options;
        options.LanguageFile = QString::fromUtf8("/usr/share/q517/lingua è.SCR");
        options.PortNumber = 12;
        options.BaudRate = "38400";
        options.RecentFiles = QStringList{"/a/ONE.CAM", "/b/TWO.CAM"};
        QVERIFY(options.WriteOptionsFile(dir.path()));
        QCOMPARE(readBytes(dir.filePath("Q517_opt.def")),
                 QByteArray("\"/usr/share/q517/lingua \xe8.SCR\",12,\"38400\"\r\n"
                            "/a/ONE.CAM\r\n/b/TWO.CAM\r\n"));
        FakePrompts prompts;
        Options back;
        QVERIFY(back.ReadOptionsFile(dir.path(), prompts));
        QCOMPARE(back.LanguageFile, options.LanguageFile);
        QCOMPARE(back.PortNumber, options.PortNumber);
        QCOMPARE(back.BaudRate, options.BaudRate);
        QCOMPARE(back.RecentFiles, options.RecentFiles);
    }

    void failedWriteIsReported() {
        QTemporaryDir dir;
        // A directory standing where the file is to be written refuses it, even for root.
        QVERIFY(QDir(dir.path()).mkdir("Q517_opt.def"));
        Options options;
        options.LanguageFile = "NEW.SCR";
        FakePrompts prompts;
        prompts.expectMessageContaining("FILE 'Q517_OPT.DEF' NOT WRITTEN!!!");
        QVERIFY(!options.WriteOptionsFile(dir.path(), prompts));
        QVERIFY(prompts.allShown());
        QCOMPARE(prompts.messages().first().icon, Prompts::Icon::Warning);
    }

    void verifyAfterTransmitIsRememberedPerUser() {
        QTemporaryDir dir;
        const QString path = dir.filePath("config/q517.ini");
        UserSettings first;
        first.Load(path);
        QVERIFY(!first.VerifyAfterTransmit());
        QVERIFY(first.SetVerifyAfterTransmit(true));
        QVERIFY(first.SetNetworkPort(65, " rfc2217://10.0.0.20:4001 "));
        QVERIFY(first.SetNetworkPort(96, "tcp://plc-7:2000"));
        QVERIFY(first.SetNetworkPort(96, ""));
        UserSettings next;
        next.Load(path);
        QVERIFY(next.VerifyAfterTransmit());
        QCOMPARE(next.NetworkPorts(),
                 (PortMap::NetworkPorts{{65, QStringLiteral("rfc2217://10.0.0.20:4001")}}));
        // Where the file cannot be written the choice holds for this run, and it says so.
        QVERIFY(QDir(dir.path()).mkdir("blocked.ini"));
        UserSettings blocked;
        blocked.Load(dir.filePath("blocked.ini"));
        QVERIFY(!blocked.SetVerifyAfterTransmit(true));
        QVERIFY(blocked.VerifyAfterTransmit());
    }

    void timingSpeedIsRememberedPerUser() {
        QTemporaryDir dir;
        const QString path = dir.filePath("q517.ini");
        UserSettings first;
        first.Load(path);
        QCOMPARE(first.TimingRpm(), 600);
        QVERIFY(first.SetTimingRpm(1450));
        UserSettings next;
        next.Load(path);
        QCOMPARE(next.TimingRpm(), 1450);
        // A hand-edited speed the window would refuse is not taken.
        QSettings(path, QSettings::IniFormat).setValue("timing/rpm", "20001");
        next.Load(path);
        QCOMPARE(next.TimingRpm(), 600);
    }
};

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
