#include "Q517Paths.h"
#include "support/SimProcess.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int status = -1;
    QString out;
    QString err;
};

// q517-cli with its own data directory; language names the script its options file names,
// or leaves the options file out when empty.
Run cli(const QStringList& args, const QString& language = QStringLiteral("q517_EN.SCR"),
        const QString& logRules = QString()) {
    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("q517")));
    if (!language.isEmpty()) {
        QFile options(home.filePath(QStringLiteral("q517/Q517_opt.def")));
        if (!options.open(QIODevice::WriteOnly))
            return {};
        options.write("\"" + language.toLatin1() + "\",1,\"9600\"\r\n");
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    if (!logRules.isEmpty())
        env.insert(QStringLiteral("QT_LOGGING_RULES"), logRules);
    process.setProcessEnvironment(env);
    process.start(SimProcess::CliBinary(), args);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestCliScripting : public QObject {
    Q_OBJECT
private slots:
    void commandHelp_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("status1");
        for (const char* command : {"check", "convert", "flash", "hexcheck", "identify", "ports",
                                    "print", "receive", "send"})
            QTest::newRow(command) << command << "refused or failed";
        QTest::newRow("timing") << "timing"
                                << "something is shorter";
        for (const char* command : {"diff", "verify"})
            QTest::newRow(command) << command << "the programs differ";
    }
    void commandHelp() {
        QFETCH(QString, command);
        QFETCH(QString, status1);
        const Run run = cli({command, QStringLiteral("--help")});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.out.startsWith(QStringLiteral("usage: q517-cli ") + command),
                 qPrintable(run.out));
        // Enough for a manual page, in the options' language.
        for (const QString& part :
             {QStringLiteral("\n\nExit status:\n  0 "), status1,
              QStringLiteral("\n\nFiles:\n  ~/.local/share/q517/q517_opt.def"),
              QStringLiteral("\n\nExamples:\n  $ q517-cli ") + command})
            QVERIFY2(run.out.contains(part), qPrintable(run.out));
        QVERIFY(run.err.isEmpty());
    }

    // What q517-cli writes for people, in the language the options file names: its own
    // messages, a usage error and a line's summary (the result words are the report's, the
    // same in every language). @BAD is a damaged cam file, @PLAN a good one.
    void messagesInTheOptionsLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        const QString en = "q517_EN.SCR", it = "q517_IT.SCR", de = "q517_DE.SCR";
        const QStringList check{"check", "@BAD"}, noPort{"send", "@PLAN"},
            noYes{"flash", "IMAGE.hex", "--device", "/nonexistent"},
            line{"send", "@PLAN", "--device", "/nonexistent/a", "--device", "/nonexistent/b"};
        QTest::newRow("English check") << en << check << 1 << " : wrong cam file format";
        QTest::newRow("Italian check") << it << check << 1 << " : formato del file di camme";
        QTest::newRow("no options file") << "" << check << 1 << " : formato del file di camme";
        QTest::newRow("German check's reason")
            << de << check << 1
            << ": Zeile 1: kein Programmiergerät hat diese Nocken- und Formatzahl\n";
        QTest::newRow("Italian convert into no folder")
            << it << QStringList{"convert", "@PLAN", "/nonexistent/OUT.CAM"} << 1
            << "/nonexistent/OUT.CAM: la cartella non esiste\n";
        QTest::newRow("English usage")
            << en << noPort << 2
            << "q517-cli: give --port N, --ports LIST or --device PATH\nusage: q517-cli send ";
        QTest::newRow("Italian usage") << it << noPort << 2
                                       << "q517-cli: indicare --port N, --ports ELENCO o --device "
                                          "PERCORSO\nuso: q517-cli send ";
        QTest::newRow("German usage") << de << noPort << 2
                                      << "q517-cli: --port N, --ports LISTE oder --device PFAD "
                                         "angeben\nAufruf: q517-cli send ";
        QTest::newRow("English flash without --yes")
            << en << noYes << 2 << "firmware; add --yes to go ahead\n";
        QTest::newRow("Italian flash without --yes")
            << it << noYes << 2 << "firmware del controllore; aggiungere --yes per procedere\n";
        QTest::newRow("German flash without --yes")
            << de << noYes << 2 << "Firmware der Steuerung; --yes anfügen, um fortzufahren\n";
        QTest::newRow("English summary")
            << en << line << 1 << "target          type  result  seconds  cause\n";
        QTest::newRow("Italian summary")
            << it << line << 1 << "destinazione    tipo  esito   secondi  causa\n";
        QTest::newRow("German summary")
            << de << line << 1 << "Ziel            Typ  Ergebnis  Sekunden  Ursache\n";
        QTest::newRow("German summary's tally") << de << line << 1 << "\n2 failed\n";
        QTest::newRow("German port without an address")
            << de << QStringList{"identify", "--port", "70"} << 1
            << "COM70 ist ein Netzwerkanschluss ohne Adresse (Schnittstelle einstellen)";
        const QStringList noNetworkPort{"identify", "--device", "tcp://10.0.0.20"};
        QTest::newRow("Italian network address")
            << it << noNetworkPort << 2 << "tcp://10.0.0.20: nessuna porta (HOST:PORTA)\nuso: ";
        QTest::newRow("German network address")
            << de << noNetworkPort << 2 << "tcp://10.0.0.20: kein Port (HOST:PORT)\nAufruf: ";
    }
    void messagesInTheOptionsLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, text);
        QTemporaryDir dir;
        QFile bad(dir.filePath(QStringLiteral("BAD.CAM")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("FUNZIONI 24-10\r\n");
        bad.close();
        args.replaceInStrings(QStringLiteral("@BAD"), bad.fileName());
        args.replaceInStrings(QStringLiteral("@PLAN"),
                              QStringLiteral(Q517_TEST_DATA_DIR "/camfile_example.CAM"));
        const Run run = cli(args, language);
        QCOMPARE(run.status, status);
        QVERIFY2((run.out + run.err).contains(text), qPrintable(run.out + run.err));
    }

    // Even with every toolkit category switched on, a script reads only our own lines.
    void toolkitLinesOnlyWithV_data() {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("-v") << true;
    }
    void toolkitLinesOnlyWithV() {
        QFETCH(bool, verbose);
        QStringList args{QStringLiteral("check"),
                         QStringLiteral(Q517_TEST_DATA_DIR "/camfile_example.CAM")};
        if (verbose)
            args.prepend(QStringLiteral("-v"));
        const Run run = cli(args, QStringLiteral("q517_EN.SCR"), QStringLiteral("qt.*=true"));
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QStringLiteral("type C24-06\nphases 2\n"));
        QCOMPARE(run.err.contains(QStringLiteral("[qt]")), verbose);
        if (!verbose)
            QCOMPARE(run.err, QString());
    }
};

QTEST_GUILESS_MAIN(TestCliScripting)
#include "tst_cliscripting.moc"
