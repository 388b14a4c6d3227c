#include "Q517Paths.h"
#include "support/CliRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kCompletion = QStringLiteral(Q517_SOURCE_DATA_DIR "/q517-cli.bash");

// What bash offers for the line when Tab is pressed at its end, sorted.
QStringList offered(const QString& line, const QString& folder, const QString& dataHome) {
    QProcess bash;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    bash.setProcessEnvironment(env);
    bash.setWorkingDirectory(folder);
    bash.start(QStringLiteral("bash"),
               {QStringLiteral("-c"),
                QStringLiteral("source \"$0\"; read -ra COMP_WORDS <<<\"$1\"; "
                               "[[ $1 == *' ' ]] && COMP_WORDS+=(''); "
                               "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _q517_cli; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\""),
                kCompletion, line});
    if (!bash.waitForFinished(30000))
        return {QStringLiteral("<bash did not end>")};
    QStringList words =
        QString::fromUtf8(bash.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    words.sort();
    return words;
}

// A folder with cam files, a HEX image, a folder and a simulator's link; q517's data folder
// with a port link.
struct Desk {
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("data"));
    QString folder = dir.filePath(QStringLiteral("work"));
    Desk() {
        QDir(dir.path()).mkpath(QStringLiteral("data/q517/ports"));
        QDir(dir.path()).mkpath(QStringLiteral("work/sub"));
        for (const char* name : {"PRESS1.CAM", "old.cam", "notes.txt", "Q517.hex", "LINE.json"})
            QFile(QDir(folder).filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
        QFile::link(QStringLiteral("/dev/null"), QDir(folder).filePath(QStringLiteral("COM7")));
        QFile::link(QStringLiteral("/dev/null"), data + QStringLiteral("/q517/ports/COM3"));
    }
    QStringList offer(const QString& line) const { return offered(line, folder, data); }
};
} // namespace

class TestCompletion : public QObject {
    Q_OBJECT
private slots:
    void offers_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("commands") << "q517-cli "
                                  << QStringList{"--help",       "--version", "-v",     "check",
                                                 "check-script", "convert",   "diff",   "flash",
                                                 "hexcheck",     "identify",  "ports",  "print",
                                                 "receive",      "send",      "timing", "verify"};
        QTest::newRow("a command begun") << "q517-cli conv" << QStringList{"convert"};
        QTest::newRow("after -v") << "q517-cli -v ver" << QStringList{"verify"};
        QTest::newRow("cam files")
            << "q517-cli check " << QStringList{"PRESS1.CAM", "old.cam", "sub"};
        QTest::newRow("HEX images") << "q517-cli hexcheck " << QStringList{"Q517.hex", "sub"};
        QTest::newRow("send's options")
            << "q517-cli send PRESS1.CAM --"
            << QStringList{"--baud", "--device", "--help", "--port", "--ports", "--report"};
        QTest::newRow("print's options")
            << "q517-cli print PRESS1.CAM --"
            << QStringList{"--all", "--format", "--graphic", "--help", "--pdf"};
        QTest::newRow("a report") << "q517-cli send PRESS1.CAM --port 3 --report "
                                  << QStringList{"LINE.json", "sub"};
        QTest::newRow("a link beside the shell")
            << "q517-cli identify --device C" << QStringList{"COM7"};
        QTest::newRow("q517's port links")
            << "q517-cli send A.CAM --device $PORTS/" << QStringList{"$PORTS/COM3"};
        QTest::newRow("no options for ports") << "q517-cli ports --" << QStringList{"--help"};
    }
    void offers() {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        Desk desk;
        const QString ports = desk.data + QStringLiteral("/q517/ports");
        expected.replaceInStrings(QStringLiteral("$PORTS"), ports);
        QCOMPARE(desk.offer(line.replace(QStringLiteral("$PORTS"), ports)), expected);
    }

    // The completion keeps up with q517-cli: every command it has, every option its usage names.
    void everyCommandAndOptionOfTheProgram() {
        Desk desk;
        const CliRun help = CliRun::Run({QStringLiteral("--help")}, desk.data);
        QCOMPARE(help.status, 0);
        const QString list =
            help.out.section(QStringLiteral("[ARGUMENTS]\n\n"), 1).section("\n\n", 0, 0);
        const QRegularExpression commandLine(QStringLiteral("^  ([a-z-]+)\\b"),
                                             QRegularExpression::MultilineOption);
        const QStringList commands = desk.offer(QStringLiteral("q517-cli "));
        int count = 0;
        for (const auto& m : commandLine.globalMatch(list)) {
            const QString command = m.captured(1);
            ++count;
            QVERIFY2(commands.contains(command), qPrintable(command));
            const CliRun usage = CliRun::Run({command, QStringLiteral("--help")}, desk.data);
            const QStringList options =
                desk.offer(QStringLiteral("q517-cli ") + command + QStringLiteral(" x --"));
            const QRegularExpression option(QStringLiteral("--[a-z-]+"));
            for (const auto& o : option.globalMatch(usage.out.section('\n', 0, 0)))
                QVERIFY2(options.contains(o.captured(0)),
                         qPrintable(command + " " + o.captured(0)));
        }
        QCOMPARE(count, commands.size() - 3); // beside --help, --version and -v
    }
};

QTEST_GUILESS_MAIN(TestCompletion)
#include "tst_completion.moc"
