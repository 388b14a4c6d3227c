#include "model/LanguageTexts.h"
#include "model/Outcome.h"

#include "Q517Paths.h"

#include <QTest>

Q_DECLARE_METATYPE(Outcome)

// Every face shows an outcome the same way: the operator's old message first, then where and
// why, then what the controller is left holding.
class TestOutcome : public QObject {
    Q_OBJECT
private slots:
    void rendering_data() {
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("summary");
        QTest::newRow("done") << Outcome::Done(Outcome::Holds::ProgramOfFile) << ""
                              << "";
        QTest::newRow("message alone") << Outcome::Refusal(QStringLiteral("BAD comm")) << "BAD comm"
                                       << "BAD comm";
        QTest::newRow("device and OS cause")
            << Outcome::Refusal(QStringLiteral("COMM ERR 1"), QStringLiteral("COM 60 /dev/x"),
                                QStringLiteral("no such device"), QStringLiteral("opening"))
            << "COMM ERR 1\nCOM 60 /dev/x, opening: no such device"
            << "COMM ERR 1 (COM 60 /dev/x, opening: no such device)";
        QTest::newRow("transmission broken off")
            << Outcome::Failure(QStringLiteral("TIMEOUT SERIAL PORT "),
                                QStringLiteral("/dev/pts/3"), QStringLiteral("the line hung up"),
                                QStringLiteral("frame 37 of 912"),
                                Outcome::Holds::IncompleteProgram)
            << "TIMEOUT SERIAL PORT \n/dev/pts/3, frame 37 of 912: the line hung up\n"
               "The controller now holds an incomplete program"
            << "TIMEOUT SERIAL PORT (/dev/pts/3, frame 37 of 912: the line hung up)";
        QTest::newRow("flash broken off after the erase")
            << Outcome::Failure(QStringLiteral("TIMEOUT SERIAL PORT 7"), QString(), QString(),
                                QStringLiteral("line 120 of 513"), Outcome::Holds::NoFirmware)
            << "TIMEOUT SERIAL PORT 7\nline 120 of 513\n"
               "The controller now has no working firmware: update it again"
            << "TIMEOUT SERIAL PORT 7 (line 120 of 513)";
        QTest::newRow("cause without a place")
            << Outcome::Failure(QString(), QString(), QStringLiteral("No space left on device"),
                                QString())
            << "No space left on device"
            << "No space left on device";
    }
    void rendering() {
        QFETCH(Outcome, outcome);
        QFETCH(QString, text);
        QFETCH(QString, summary);
        LanguageTexts texts;
        QVERIFY(texts.LoadLanguage(QStringLiteral(Q517_SOURCE_DATA_DIR "/q517_EN.SCR")));
        QCOMPARE(outcome.text(texts), text);
        QCOMPARE(outcome.summary(), summary);
    }
};

QTEST_APPLESS_MAIN(TestOutcome)
#include "tst_outcome.moc"
