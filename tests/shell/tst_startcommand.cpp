#include "model/LanguageTexts.h"
#include "shell/StartCommand.h"

#include <QTest>

namespace {
// Every language text n reads "T<n>", so a test sees which text was used.
LanguageTexts numberedTexts() {
    QByteArray script = "HEADER\r\n";
    for (int n = 2; n <= LanguageTexts::Count; ++n)
        script += "\"T" + QByteArray::number(n) + "\"\r\n";
    LanguageTexts texts;
    texts.LoadFromBytes(script + "\r\n");
    return texts;
}
} // namespace

class TestStartCommand : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("textHas");
        const int window = int(StartCommand::Action::Window);
        const int print = int(StartCommand::Action::Print);
        const int refuse = int(StartCommand::Action::Refuse);
        const QStringList help{"T564 q517 [FILE.CAM]",
                               "T482",
                               "T264",
                               "T636",
                               "FILE.CAM",
                               "T483",
                               "T484",
                               "T485",
                               "T486",
                               "T490",
                               "q517_opt.def",
                               "T495"};
        QTest::newRow("nothing") << QStringList{} << window << "" << QStringList{};
        QTest::newRow("a file beside the shell")
            << QStringList{"PRESS1.CAM"} << window << "/home/op/PRESS1.CAM" << QStringList{};
        QTest::newRow("a path") << QStringList{"../cams/./A.cam"} << window << "/home/cams/A.cam"
                                << QStringList{};
        QTest::newRow("absolute") << QStringList{"/srv/B.CAM"} << window << "/srv/B.CAM"
                                  << QStringList{};
        QTest::newRow("a name like an option, after --")
            << QStringList{"--", "-odd.CAM"} << window << "/home/op/-odd.CAM" << QStringList{};
        QTest::newRow("--help") << QStringList{"--help"} << print << "" << help;
        QTest::newRow("-h, with a file") << QStringList{"-h", "A.CAM"} << print << "" << help;
        QTest::newRow("--version")
            << QStringList{"--version"} << print << "" << QStringList{"q517 " Q517_VERSION "\n"};
        QTest::newRow("-v") << QStringList{"-v"} << print << "" << QStringList{"q517 "};
        QTest::newRow("unknown option") << QStringList{"--bogus"} << refuse << ""
                                        << QStringList{"q517: T497bogus\n", "T564 q517"};
        QTest::newRow("two files")
            << QStringList{"A.CAM", "B.CAM"} << refuse << "" << QStringList{"T489", "--help"};
        QTest::newRow("an empty name")
            << QStringList{""} << refuse << "" << QStringList{"'': T480"};
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, file);
        QFETCH(QStringList, textHas);
        const StartCommand command =
            ReadStartCommand(QStringList{"/usr/bin/q517"} + arguments, numberedTexts(), "/home/op");
        QCOMPARE(int(command.action), action);
        QCOMPARE(command.file, file);
        for (const QString& part : textHas)
            QVERIFY2(command.text.contains(part), qPrintable(command.text));
        QCOMPARE(command.exitStatus(), action == int(StartCommand::Action::Refuse) ? 2 : 0);
    }
};

QTEST_GUILESS_MAIN(TestStartCommand)
#include "tst_startcommand.moc"
