#include "link/ControllerSearch.h"
#include "link/Identification.h"
#include "link/PortMap.h"
#include "link/StartupLink.h"
#include "support/EnglishTexts.h"
#include "support/FakeController.h"
#include "support/TestSession.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
// A "?M" reply as the controller sends it: cam count at 1-2, format count at 4-5,
// "ITALY" at 22 and the nine identification characters after "Y-" at 28-36.
QByteArray identReply(const QByteArray& cams, const QByteArray& formats,
                      const QByteArray& ident = "CTRL-0042") {
    return cams + ' ' + formats + " 517 CAM SWITCH ITALY-" + ident + "\r";
}
const QByteArray kAskIdent("?M8C\r");
const QByteArray kAskType("?T93\r");
const QByteArray kTypeReply("AVR_M1280-V2.50 Q517\r");
} // namespace

class TestIdentification : public QObject {
    Q_OBJECT

    struct Fixture {
        QString device() const { return dir.filePath(QStringLiteral("tty")); }
        FakeClock clock;
        FakePrompts prompts;
        FakeCommonDialogBackend dialogs;
        CommonDialog dialog{dialogs};
        QTemporaryDir dir;
        FakeController controller{clock};
        Session session{prompts, clock, dialog, controller, dir.path()};
        const bool inEnglish = SpeakEnglish(session);
        explicit Fixture(bool answerType = true) {
            const QString device = dir.filePath(QStringLiteral("tty"));
            QFile f(device);
            f.open(QIODevice::WriteOnly);
            session.link.state.DeviceOverride = device;
            NumberTexts(session.texts);
            if (answerType)
                controller.when(kAskType, FakeController::bytes(kTypeReply));
        }
    };

private slots:
    void replyLayout() {
        // The test's own reply puts "ITALY" where the controller does.
        QCOMPARE(identReply("24", "28").indexOf("ITALY") + 1, 22);
        QCOMPARE(identReply("24", "28").mid(27, 9), QByteArray("CTRL-0042"));
    }

    void identify_data() {
        QTest::addColumn<QList<QByteArray>>("replies"); // one per "?M", in order
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        using R = IdentifyResult;
        const QList<QByteArray> noItaly(6, QByteArray("24 28 nothing to see here at all\r"));
        QTest::newRow("24/28") << QList<QByteArray>{identReply("24", "28")} << int(R::Identified)
                               << "" << 1 << 24 << 28;
        QTest::newRow("8/89 with zero") << QList<QByteArray>{identReply("08", "89")}
                                        << int(R::Identified) << "" << 1 << 8 << 89;
        QTest::newRow("16/10 blank") << QList<QByteArray>{identReply("16", "10")}
                                     << int(R::Identified) << "" << 1 << 16 << 10;
        QTest::newRow("24/6 blank") << QList<QByteArray>{identReply("24", " 6")}
                                    << int(R::Identified) << "" << 1 << 24 << 6;
        QTest::newRow("garbage first") << QList<QByteArray>{"##\r", identReply("16", "44")}
                                       << int(R::Identified) << "" << 2 << 16 << 44;
        QTest::newRow("ITALY at 5 is not found")
            << QList<QByteArray>(6, QByteArray("2428ITALY-ABCDEFGHI\r")) << int(R::NotFound)
            << "BAD comm" << 6 << 0 << 0;
        QTest::newRow("no ITALY six times")
            << noItaly << int(R::NotFound) << "BAD comm" << 6 << 0 << 0;
        QTest::newRow("ITALY at 6 is BAD comm") << QList<QByteArray>{"24 28ITALY-ABCDEFGHI\r"}
                                                << int(R::BadPair) << "BAD comm" << 1 << 0 << 0;
        // ITALY at 19: the format count (at 1) is inside the line, the cam count is not.
        QTest::newRow("ITALY at 19 is BAD comm")
            << QList<QByteArray>{"28 xxxxxxxxxxxxxxxITALY-ABCDEFGHI\r"} << int(R::BadPair)
            << "BAD comm" << 1 << 0 << 28;
        QTest::newRow("pair outside the six") << QList<QByteArray>{identReply("24", "10")}
                                              << int(R::BadPair) << "BAD comm" << 1 << 24 << 10;
        QTest::newRow("numbers unreadable") << QList<QByteArray>{identReply("xx", "yy")}
                                            << int(R::BadPair) << "BAD comm" << 1 << 0 << 0;
    }
    void identify() {
        QFETCH(QList<QByteArray>, replies);
        QFETCH(int, result);
        QFETCH(QString, message);
        QFETCH(int, asked);
        QFETCH(int, cams);
        QFETCH(int, formats);
        Fixture f;
        for (const QByteArray& r : replies)
            f.controller.when(kAskIdent, FakeController::bytes(r, 5), 1);
        const int64_t start = f.clock.nowMs();
        // Nothing is shown: the outcome carries the message and the port it came from.
        const Identification identified = IdentifyController(f.session.linkContext());
        QCOMPARE(int(identified.result), result);
        QCOMPARE(identified.outcome.message, message);
        QCOMPARE(identified.outcome.place, message.isEmpty() ? QString() : f.device());
        QCOMPARE(f.controller.receivedCount(kAskIdent), asked);
        QCOMPARE(f.session.link.state.IdentReply, QString::fromLatin1(replies.at(asked - 1)));
        const bool answered = result == int(IdentifyResult::Identified);
        QCOMPARE(identified.outcome.done(), answered);
        QCOMPARE(f.controller.receivedCount(kAskType), answered ? 1 : 0);
        QCOMPARE(f.session.link.state.TypeReply,
                 answered ? QString::fromLatin1(kTypeReply) : QString());
        if (result != int(IdentifyResult::NotFound)) {
            QCOMPARE(f.session.link.state.IdentCamCount, cams);
            QCOMPARE(f.session.link.state.IdentFormatCount, formats);
        }
        // 50 ms between attempts, 100 ms before "?T", 5 ms for each reply.
        const int64_t expected = (asked - 1) * 50 + asked * 5 + (answered ? 100 : 0);
        QCOMPARE(f.clock.nowMs() - start, expected);
        // The program itself is never touched by an identification.
        QCOMPARE(f.session.program.CamCount(), 24);
        QCOMPARE(f.session.program.FormatCount(), 6);
        QCOMPARE(f.controller.isOpen(), true);
    }

    void identificationCharacters() {
        const IdentReplyFields fields =
            ParseIdentReply(QString::fromLatin1(identReply("16", "44")));
        QVERIFY(fields.found);
        QCOMPARE(fields.italyPosition, 22);
        QCOMPARE(fields.identification, QStringLiteral("CTRL-0042"));
    }

    void controllerTypeParts_data() {
        QTest::addColumn<QByteArray>("typeReply");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("version");
        QTest::newRow("type line") << kTypeReply << "80-V2.50"
                                   << "V2.50";
        QTest::newRow("dash near the start") << QByteArray("A-1\r") << "A-1\r"
                                             << "1\r";
        QTest::newRow("no dash") << QByteArray("NODASH\r") << ""
                                 << "";
        QTest::newRow("silent controller") << QByteArray() << ""
                                           << "";
    }
    void controllerTypeParts() {
        QFETCH(QByteArray, typeReply);
        QFETCH(QString, model);
        QFETCH(QString, version);
        const ControllerTypeParts parts = ReadControllerType(
            QString::fromLatin1(identReply("24", "28")), QString::fromLatin1(typeReply));
        QCOMPARE(parts.identification, QStringLiteral("CTRL-0042"));
        QCOMPARE(parts.model, model);
        QCOMPARE(parts.version, version);
    }

    // Each way of not identifying, with where and why as the operator reads them.
    void failureSaysWhereAndWhy_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text"); // %1 = the device
        QTest::newRow("silent") << "silent" << int(IdentifyResult::NoAnswer)
                                << "COMM ERROR\n%1, identifying (\"?M\"): no answer for 3 s";
        QTest::newRow("hung up in the middle of the wait")
            << "hung up" << int(IdentifyResult::NoAnswer)
            << "COMM ERROR\n%1, identifying (\"?M\"): the line hung up";
        QTest::newRow("not ready") << "no CTS" << int(IdentifyResult::PortNotReady)
                                   << "T51\n%1, opening: the controller is not ready (no CTS)";
        QTest::newRow("busy") << "busy" << int(IdentifyResult::PortNotReady)
                              << "T51\n%1, opening: Device or resource busy";
    }
    void failureSaysWhereAndWhy() {
        QFETCH(QString, fault);
        QFETCH(int, result);
        QFETCH(QString, text);
        Fixture f;
        f.controller.setCts(fault != QLatin1String("no CTS"));
        if (fault == QLatin1String("busy"))
            f.controller.failOpen(QStringLiteral("Device or resource busy"),
                                  SerialLine::Opened::InUse);
        if (fault == QLatin1String("hung up"))
            f.controller.hangUpAt(f.clock.nowMs() + 1200, QStringLiteral("the line hung up"));
        const int64_t start = f.clock.nowMs();
        const Identification identified = IdentifyController(f.session.linkContext());
        QCOMPARE(int(identified.result), result);
        QCOMPARE(identified.outcome.text(f.session.texts), text.arg(f.device()));
        QCOMPARE(f.controller.receivedCount(kAskIdent),
                 result == int(IdentifyResult::NoAnswer) ? 1 : 0);
        // A line that breaks ends the wait when it breaks.
        QVERIFY(f.clock.nowMs() - start <= (fault == QLatin1String("hung up") ? 1200 : 3000));
        QVERIFY(f.prompts.messages().isEmpty());
    }

    void typeQueryFailureStillIdentifies() {
        // A controller that gives its type but not its "?T" line: the pair stands and the
        // type line stays empty.
        Fixture f(false);
        f.controller.when(kAskIdent, FakeController::bytes(identReply("08", "21")));
        QCOMPARE(IdentifyController(f.session.linkContext()).result, IdentifyResult::Identified);
        QCOMPARE(f.session.link.state.IdentCamCount, 8);
        QCOMPARE(f.session.link.state.IdentFormatCount, 21);
        QVERIFY(f.session.link.state.TypeReply.isEmpty());
    }

    // One port asked by a search: "?M" once when it opens and nothing else; each way of not
    // answering said plainly, the port closed again, the wait on the clock only.
    void askPort_data() {
        QTest::addColumn<QByteArray>("reply"); // "" = silence
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("text"); // %1 = the port's device
        QTest::addColumn<bool>("asked");
        QTest::newRow("C24-28") << identReply("24", "28") << ""
                                << "C24-28 answered" << true;
        QTest::newRow("silent") << QByteArray() << ""
                                << "no controller answered" << true;
        QTest::newRow("a modem's line") << QByteArray("OK\r") << ""
                                        << "no controller answered" << true;
        QTest::newRow("pair outside the six")
            << identReply("24", "10") << ""
            << "answered, but not as a known controller type" << true;
        QTest::newRow("in use") << QByteArray() << "in use"
                                << "in use by another program (%1: Device or resource busy)"
                                << false;
        QTest::newRow("vanished") << QByteArray() << "vanished"
                                  << "not there any more (%1: no such device)" << false;
        QTest::newRow("no CTS") << QByteArray() << "no CTS"
                                << "nothing ready on it (%1: the controller is not ready (no CTS))"
                                << false;
        QTest::newRow("hung up") << QByteArray() << "hung up"
                                 << "cannot be asked (%1: EOF)" << true;
        QTest::newRow("hung up while it waits for the reply")
            << QByteArray() << "hung up at 1500"
            << "cannot be asked (%1: the line hung up)" << true;
    }
    void askPort() {
        QFETCH(QByteArray, reply);
        QFETCH(QString, fault);
        QFETCH(QString, text);
        QFETCH(bool, asked);
        FakeClock clock;
        FakeController controller(clock);
        QTemporaryDir work;
        QDir(work.path()).mkpath(QStringLiteral("ports"));
        // Without its link the port is the machine's own /dev/ttyACM15, which is not there.
        if (fault != QLatin1String("vanished"))
            QVERIFY(QFile(work.filePath(QStringLiteral("ports/COM64"))).open(QIODevice::WriteOnly));
        const QString device = PortMap::PortDevice(64, work.path());
        if (QFile::exists(device) != (fault != QLatin1String("vanished")))
            QSKIP("this machine has a /dev/ttyACM15");
        if (fault == QLatin1String("in use"))
            controller.failOpen(QStringLiteral("Device or resource busy"),
                                SerialLine::Opened::InUse);
        controller.setCts(fault != QLatin1String("no CTS"));
        if (fault == QLatin1String("hung up"))
            controller.hangUp(QStringLiteral("EOF"));
        if (fault == QLatin1String("hung up at 1500"))
            controller.hangUpAt(clock.nowMs() + 1500, QStringLiteral("the line hung up"));
        if (!reply.isEmpty())
            controller.when(kAskIdent, FakeController::bytes(reply, 5));
        ControllerLink link(controller, clock, work.path(), EnglishTexts());
        int waits = 0;
        const int64_t start = clock.nowMs();
        const PortAnswer answer = AskPortForController(link, 64, 9600, [&waits] { ++waits; });
        QCOMPARE(PortAnswerText(answer, EnglishTexts()),
                 text.replace(QStringLiteral("%1"), device));
        QCOMPARE(controller.received(), asked ? kAskIdent : QByteArray());
        QVERIFY(!controller.isOpen());
        // A silent port is waited for 3 s, with the window repainting all along.
        QVERIFY(clock.nowMs() - start <= 3000);
        if (reply.isEmpty() && fault.isEmpty())
            QVERIFY(waits >= 3000 / ControllerLink::SliceMs);
    }

    // The search asks the listed ports in turn, goes on past those that cannot answer, and
    // stops at the first controller.
    void searchStopsAtTheFirstController() {
        struct Log : ControllerSearch::Observer {
            QStringList lines;
            void asking(int port, int index, int count) override {
                lines << QStringLiteral("COM %1, %2 of %3").arg(port).arg(index).arg(count);
            }
            void answered(int port, const PortAnswer& answer) override {
                lines << QStringLiteral("COM %1: ").arg(port) +
                             PortAnswerText(answer, EnglishTexts());
            }
            bool stopRequested() const override { return lines.size() >= stopAfterLines; }
            qsizetype stopAfterLines = 1000;
        } log;
        if (QFile::exists(QStringLiteral("/dev/ttyACM15")))
            QSKIP("this machine has a /dev/ttyACM15");
        FakeClock clock;
        FakeController controller(clock);
        QTemporaryDir work;
        QDir(work.path()).mkpath(QStringLiteral("ports"));
        for (const char* name : {"ports/COM3", "ports/COM7", "ports/COM9", "ports/COM11"})
            QVERIFY(QFile(work.filePath(QLatin1String(name))).open(QIODevice::WriteOnly));
        const QString busy = work.filePath(QStringLiteral("ports/COM3"));
        controller.failOpen(QStringLiteral("busy"), SerialLine::Opened::InUse, busy);
        controller.onWrite([](const QByteArray& written, FakeController& c) {
            if (written == kAskIdent && c.openedDevice().endsWith(QLatin1String("COM9")))
                c.queue(identReply("16", "44"));
        });
        ControllerLink link(controller, clock, work.path(), EnglishTexts());
        QCOMPARE(ControllerSearch(link, 9600).run({3, 64, 7, 9, 11}, log), 9);
        QCOMPARE(
            log.lines,
            QStringList(
                {QStringLiteral("COM 3, 1 of 5"),
                 QStringLiteral("COM 3: in use by another program (") + busy +
                     QStringLiteral(": busy)"),
                 QStringLiteral("COM 64, 2 of 5"),
                 QStringLiteral("COM 64: not there any more (/dev/ttyACM15: no such device)"),
                 QStringLiteral("COM 7, 3 of 5"), QStringLiteral("COM 7: no controller answered"),
                 QStringLiteral("COM 9, 4 of 5"), QStringLiteral("COM 9: C16-44 answered")}));
        QCOMPARE(controller.received(), kAskIdent + kAskIdent);
        QVERIFY(!controller.isOpen());

        // Stopped by the operator after the silent COM 7: COM 9 is not asked.
        log.lines.clear();
        log.stopAfterLines = 2;
        QCOMPARE(ControllerSearch(link, 9600).run({7, 9}, log), 0);
        QCOMPARE(log.lines, QStringList({QStringLiteral("COM 7, 1 of 2"),
                                         QStringLiteral("COM 7: no controller answered")}));
        QCOMPARE(controller.received(), kAskIdent + kAskIdent + kAskIdent);
    }

    void startup_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("cts");
        QTest::addColumn<QString>("message"); // the first line shown at start-up
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::newRow("sized to 8/89") << identReply("08", "89") << true << "" << 8 << 89;
        QTest::newRow("same pair") << identReply("24", "06") << true << "" << 24 << 6;
        QTest::newRow("bad pair keeps the program")
            << identReply("24", "99") << true << "BAD comm" << 24 << 6;
        // At start-up a controller that is not ready is not asked at all, and not reported.
        QTest::newRow("not ready") << identReply("08", "89") << false << "" << 24 << 6;
    }
    void startup() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, cts);
        QFETCH(QString, message);
        QFETCH(int, cams);
        QFETCH(int, formats);
        Fixture f;
        f.controller.setCts(cts);
        f.controller.when(kAskIdent, FakeController::bytes(reply));
        f.session.program.SetPhase(1, 1, 10, 20);
        const Outcome outcome = StartupIdentify(f.session.linkContext(), f.session.program);
        QCOMPARE(outcome.done(), cts && message.isEmpty());
        QCOMPARE(outcome.message, message);
        QCOMPARE(f.session.program.CamCount(), cams);
        QCOMPARE(f.session.program.FormatCount(), formats);
        QCOMPARE(f.controller.receivedCount(kAskIdent), cts ? 1 : 0);
    }
};

QTEST_APPLESS_MAIN(TestIdentification)
#include "tst_identification.moc"
