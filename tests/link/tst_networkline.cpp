#include "link/Clock.h"
#include "link/ControllerLink.h"
#include "link/DeviceLine.h"
#include "link/NetworkSerialLine.h"
#include "support/EnglishTexts.h"
#include "support/ScriptedServer.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>

using Script = ScriptedServer::Script;

namespace {
// How long a scripted server has to answer: short, since these servers answer at once or never.
constexpr int AnswerMs = 300;

// Reads n bytes or what came before the line went quiet or broke.
QByteArray readBytes(SerialLine& line, int n) {
    QByteArray got;
    while (got.size() < n) {
        const std::optional<uint8_t> c = line.readByte(2000);
        if (!c)
            break;
        got.append(char(*c));
    }
    return got;
}

// A port of this machine nobody listens on.
uint16_t closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}
} // namespace

class TestNetworkLine : public QObject {
    Q_OBJECT

private slots:
    // The opening of a network port through ControllerLink, as every exchange opens it; the
    // causes in the operator's language.
    void opening_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("modemState");
        QTest::addColumn<int>("answeredBaud");
        QTest::addColumn<bool>("raw");
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("cause"); // a part of it
        const auto comPort = int(Script::Kind::ComPort);
        const QString en = "q517_EN.SCR", it = "q517_IT.SCR", de = "q517_DE.SCR";
        QTest::newRow("CTS on") << comPort << 0x30 << 0 << false << en << int(LinkStatus::Ready)
                                << "";
        QTest::newRow("CTS off, DSR on: not ready")
            << comPort << 0x20 << 0 << false << en << int(LinkStatus::NotReady) << "no CTS";
        QTest::newRow("no modem lines at all counts as ready")
            << comPort << 0x00 << 0 << false << en << int(LinkStatus::Ready) << "";
        QTest::newRow("speed answered otherwise")
            << comPort << 0x30 << 19200 << false << en << int(LinkStatus::SettingsRefused)
            << "set speed 19200 when asked for speed 9600";
        QTest::newRow("speed answered otherwise, in German")
            << comPort << 0x30 << 19200 << false << de << int(LinkStatus::SettingsRefused)
            << "der Server hat Geschwindigkeit 19200 eingestellt, als Geschwindigkeit 9600 "
               "verlangt war";
        QTest::newRow("COM-PORT-OPTION refused")
            << int(Script::Kind::RefuseComPort) << 0 << 0 << false << en
            << int(LinkStatus::OpenFailed) << "refused COM-PORT-OPTION";
        QTest::newRow("COM-PORT-OPTION refused, in Italian")
            << int(Script::Kind::RefuseComPort) << 0 << 0 << false << it
            << int(LinkStatus::OpenFailed) << "il server ha rifiutato COM-PORT-OPTION";
        QTest::newRow("accepts and says nothing")
            << int(Script::Kind::Silent) << 0 << 0 << false << en << int(LinkStatus::OpenFailed)
            << "did not answer the telnet negotiation within 300 ms";
        QTest::newRow("endless subnegotiation")
            << int(Script::Kind::EndlessSubnegotiation) << 0 << 0 << false << en
            << int(LinkStatus::OpenFailed) << "subnegotiation longer than 256 bytes";
        QTest::newRow("endless subnegotiation, in Italian")
            << int(Script::Kind::EndlessSubnegotiation) << 0 << 0 << false << it
            << int(LinkStatus::OpenFailed) << "subnegoziazione più lunga di 256 byte";
        QTest::newRow("raw: CTS taken as ready, no negotiation")
            << int(Script::Kind::Raw) << 0 << 0 << true << en << int(LinkStatus::Ready) << "";
    }
    void opening() {
        QFETCH(int, kind);
        QFETCH(int, modemState);
        QFETCH(int, answeredBaud);
        QFETCH(bool, raw);
        QFETCH(QString, script);
        QFETCH(int, status);
        QFETCH(QString, cause);
        Script scripted;
        scripted.kind = Script::Kind(kind);
        scripted.modemState = modemState;
        scripted.answeredBaud = answeredBaud;
        ScriptedServer server(scripted);
        const LanguageTexts texts = ScriptTexts(script);
        NetworkSerialLine line(texts, AnswerMs);
        SystemClock clock;
        ControllerLink link(line, clock, QString(), EnglishTexts());
        const LinkOpening opening = link.open(server.address(raw), 9600);
        QCOMPARE(int(opening.status), status);
        QVERIFY2(opening.cause.contains(cause), qPrintable(opening.cause));
        QCOMPARE(link.isOpen(), opening.opened());
    }

    // An address that cannot be right names no port: nothing is connected, and the operator
    // reads why in the language of the line's texts.
    void badAddressNamesNoPort() {
        NetworkSerialLine line(ItalianTexts(), AnswerMs);
        SystemClock clock;
        ControllerLink link(line, clock, QString(), EnglishTexts());
        const LinkOpening opening = link.open(QStringLiteral("tcp://127.0.0.1"), 9600);
        QCOMPARE(int(opening.status), int(LinkStatus::NoSuchPort));
        QCOMPARE(opening.cause, QStringLiteral("tcp://127.0.0.1: nessuna porta (HOST:PORTA)"));
        QVERIFY(!link.isOpen());
    }

    // 0xFF travels doubled both ways through RFC 2217, as it is through raw TCP; the frame
    // comes back byte for byte.
    void dataBothWays_data() {
        QTest::addColumn<bool>("raw");
        QTest::newRow("rfc2217") << false;
        QTest::newRow("raw") << true;
    }
    void dataBothWays() {
        QFETCH(bool, raw);
        Script script;
        script.kind = raw ? Script::Kind::Raw : Script::Kind::ComPort;
        script.echo = true;
        ScriptedServer server(script);
        NetworkSerialLine line(EnglishTexts(), AnswerMs);
        QCOMPARE(line.open(server.address(raw), nullptr), SerialLine::Opened::Yes);
        const QByteArray frame = QByteArray::fromHex("02fc03ff"); // its block check is 0xFF
        QVERIFY(line.write(frame + "\xff\xff"));
        QVERIFY(line.flush(2000));
        QCOMPARE(readBytes(line, 6).toHex(), (frame + "\xff\xff").toHex());
        QCOMPARE(server.received().toHex(), (frame + "\xff\xff").toHex());
        if (!raw)
            QVERIFY(server.wire().contains(QByteArray::fromHex("02fc03ffffffffffff")));
        else
            QCOMPARE(server.wire().toHex(), (frame + "\xff\xff").toHex());
        // Input thrown away here is thrown away at the server too (RFC 2217 only).
        QVERIFY(line.write("AB") && line.flush(2000));
        QVERIFY(line.readByte(2000));
        line.clearInput();
        QVERIFY(!line.readByte(100));
        QVERIFY(line.write("C") && line.flush(2000));
        QCOMPARE(readBytes(line, 1), QByteArray("C"));
        QCOMPARE(server.wire().contains(QByteArray::fromHex("fffa2c0c01fff0")), !raw);
    }

    // A close right after bytes nobody answered still delivers them, and in order though
    // much the server sent was never read: no reset that could take them along, and the
    // server has seen the end when close() returns, so its port is free for the next command.
    void closeLeavesInOrder() {
        Script script;
        script.kind = Script::Kind::Raw;
        script.greeting = QByteArray(256 * 1024, 'g');
        ScriptedServer server(script);
        NetworkSerialLine line(EnglishTexts(), AnswerMs);
        QCOMPARE(line.open(server.address(true), nullptr), SerialLine::Opened::Yes);
        QVERIFY(line.readByte(2000));
        QVERIFY(line.write("END"));
        line.close();
        QCOMPARE(server.received(), QByteArray("END"));
        QVERIFY(server.clientLeftInOrder());
    }

    // The server's greeting, settings and answers, as Set Commport's Test shows them.
    void probe() {
        ScriptedServer server(Script{});
        const NetworkProbe probe =
            ProbeNetworkPort(server.address(), 38400, EnglishTexts(), AnswerMs);
        QVERIFY2(probe.cause.isEmpty(), qPrintable(probe.cause));
        QVERIFY(probe.connected && probe.ready);
        QVERIFY2(probe.answers.contains("speed 38400") &&
                     probe.answers.contains("RTS/CTS flow control") &&
                     probe.answers.contains("modem lines: CTS on, DSR on, CD off"),
                 qPrintable(probe.answers.join('|')));
        const QByteArray wire = server.wire();
        for (const char* asked : {"fffb2c", "fffb00", "fffd00", "fffb03", "fffa2c0208fff0",
                                  "fffa2c0301fff0", "fffa2c0401fff0",
                                  "fffa2c0b"
                                  "ffff"
                                  "fff0",
                                  "fffa2c0100009600fff0", "fffa2c0503fff0"})
            QVERIFY2(wire.contains(QByteArray::fromHex(asked)), asked);
    }

    // A server that goes away ends the wait at once, with the cause; so does one refusing
    // the connection, before anything is sent.
    void hangUpEndsAtOnce() {
        Script script;
        script.hangUpAfterBytes = 3;
        ScriptedServer server(script);
        NetworkSerialLine line(EnglishTexts(), AnswerMs);
        QCOMPARE(line.open(server.address(), nullptr), SerialLine::Opened::Yes);
        QVERIFY(line.write("?M8C\r"));
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!line.readByte(10000));
        QVERIFY(waited.elapsed() < 5000);
        QVERIFY2(line.brokenCause().contains("closed the connection"),
                 qPrintable(line.brokenCause()));
        QVERIFY(!line.write("x"));

        const QString refused = QStringLiteral("tcp://127.0.0.1:%1").arg(closedPort());
        QString why;
        QCOMPARE(line.open(refused, &why), SerialLine::Opened::Failed);
        QVERIFY2(why.contains("refused", Qt::CaseInsensitive), qPrintable(why));
    }

    // The same line object reaches a device path or a network port by the name it opens.
    void deviceLineChoosesByName() {
        ScriptedServer server(Script{});
        DeviceLine line(EnglishTexts());
        QString why;
        QCOMPARE(line.open(server.address(), &why), SerialLine::Opened::Yes);
        QVERIFY(line.ctsAsserted());
        QCOMPARE(line.open(QStringLiteral("/nonexistent/tty"), &why), SerialLine::Opened::Failed);
        QVERIFY(!line.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestNetworkLine)
#include "tst_networkline.moc"
