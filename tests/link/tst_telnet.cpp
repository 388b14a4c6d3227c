#include "link/ComPortControl.h"
#include "link/NetworkAddress.h"
#include "link/TelnetDecoder.h"
#include "support/EnglishTexts.h"

#include <QTest>

namespace {
// Every result but More, in order: "D:hex" for a run of data bytes, "C:command,option",
// "S:option:hex" for a subnegotiation, "X:cause" once broken.
QStringList decoded(const QByteArray& stream) {
    TelnetDecoder decoder;
    QStringList events;
    QByteArray data;
    const auto flush = [&] {
        if (!data.isEmpty())
            events << QStringLiteral("D:") + QString::fromLatin1(data.toHex());
        data.clear();
    };
    for (const char c : stream) {
        switch (decoder.feed(uint8_t(c))) {
        case TelnetDecoder::Result::More:
            break;
        case TelnetDecoder::Result::Data:
            data.append(char(decoder.data()));
            break;
        case TelnetDecoder::Result::Command:
            flush();
            events << QStringLiteral("C:%1,%2").arg(decoder.command()).arg(decoder.option());
            break;
        case TelnetDecoder::Result::Subnegotiation:
            flush();
            events << QStringLiteral("S:%1:").arg(decoder.option()) +
                          QString::fromLatin1(decoder.payload().toHex());
            break;
        case TelnetDecoder::Result::Broken:
            flush();
            if (events.isEmpty() || !events.last().startsWith(QLatin1String("X:")))
                events << QStringLiteral("X:") + decoder.cause(EnglishTexts());
            break;
        }
    }
    flush();
    return events;
}
} // namespace

class TestTelnet : public QObject {
    Q_OBJECT

private slots:
    // Fed one byte at a time, so every cut the network can make falls somewhere in a row.
    void decoder_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("plain data") << QByteArray("?M8C\r") << QStringList{"D:3f4d38430d"};
        QTest::newRow("doubled IAC is one 0xFF")
            << QByteArray::fromHex("02fcffff03") << QStringList{"D:02fcff03"};
        QTest::newRow("frame whose check is 0xFF")
            << QByteArray::fromHex("02fc03ffff") << QStringList{"D:02fc03ff"};
        QTest::newRow("option commands between data")
            << QByteArray::fromHex("41fffd2c42fffb00")
            << QStringList{"D:41", "C:253,44", "D:42", "C:251,0"};
        QTest::newRow("NOP and go-ahead carry no data")
            << QByteArray::fromHex("fff141fff9") << QStringList{"C:241,0", "D:41", "C:249,0"};
        QTest::newRow("modem state notification")
            << QByteArray::fromHex("fffa2c6b30fff0") << QStringList{"S:44:6b30"};
        QTest::newRow("speed answer with a doubled 0xFF")
            << QByteArray::fromHex("fffa2c650000ffff00fff041")
            << QStringList{"S:44:650000ff00", "D:41"};
        QTest::newRow("empty subnegotiation")
            << QByteArray::fromHex("fffa2cfff0") << QStringList{"S:44:"};
        QTest::newRow("256 bytes is still a subnegotiation")
            << QByteArray::fromHex("fffa2c") + QByteArray(256, 'a') + QByteArray::fromHex("fff0")
            << QStringList{"S:44:" + QString::fromLatin1(QByteArray(256, 'a').toHex())};
        QTest::newRow("257 bytes breaks the line")
            << QByteArray::fromHex("fffa2c") + QByteArray(257, 'a') + QByteArray::fromHex("fff041")
            << QStringList{"X:the server sent a subnegotiation longer than 256 bytes"};
        QTest::newRow("doubled 0xFF past the bound breaks it too")
            << QByteArray::fromHex("fffa2c") + QByteArray(256, 'a') + QByteArray::fromHex("ffff")
            << QStringList{"X:the server sent a subnegotiation longer than 256 bytes"};
        QTest::newRow("subnegotiation without SE")
            << QByteArray::fromHex("fffa2c6b30fffb0041")
            << QStringList{"X:the server sent a subnegotiation without its end (IAC SE)"};
        QTest::newRow("SE alone is a command")
            << QByteArray::fromHex("fff041") << QStringList{"C:240,0", "D:41"};
        QTest::newRow("cut inside a command")
            << QByteArray::fromHex("41fffd") << QStringList{"D:41"};
    }
    void decoder() {
        QFETCH(QByteArray, stream);
        QFETCH(QStringList, events);
        QCOMPARE(decoded(stream), events);
    }

    // What goes onto the wire, restated byte for byte (RFC 854, RFC 2217).
    void wireForms_data() {
        QTest::addColumn<QByteArray>("wire");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("data without 0xFF") << Telnet::EscapeData("?M8C\r") << QByteArray("?M8C\r");
        QTest::newRow("frame whose check is 0xFF doubled")
            << Telnet::EscapeData(QByteArray::fromHex("02fc03ff"))
            << QByteArray::fromHex("02fc03ffff");
        QTest::newRow("speed 9600")
            << ComPort::Request(ComPort::SetBaudRate, ComPort::BaudValue(9600))
            << QByteArray::fromHex("fffa2c0100002580fff0");
        QTest::newRow("speed with a 0xFF byte")
            << ComPort::Request(ComPort::SetBaudRate, ComPort::BaudValue(0xFF00))
            << QByteArray::fromHex("fffa2c010000ffff00fff0");
        QTest::newRow("RTS/CTS flow control")
            << ComPort::Request(ComPort::SetControl,
                                QByteArray(1, char(ComPort::HardwareFlowControl)))
            << QByteArray::fromHex("fffa2c0503fff0");
        QTest::newRow("purge what the server read")
            << ComPort::Request(ComPort::PurgeData, QByteArray(1, char(ComPort::PurgeReceived)))
            << QByteArray::fromHex("fffa2c0c01fff0");
    }
    void wireForms() {
        QFETCH(QByteArray, wire);
        QFETCH(QByteArray, expected);
        QCOMPARE(wire.toHex(), expected.toHex());
    }

    // What the Test button and the causes call a setting; a value we never ask for goes by
    // its command's name.
    void settingWords_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("words");
        const QString en = "q517_EN.SCR", it = "q517_IT.SCR", de = "q517_DE.SCR";
        QTest::newRow("speed") << int(ComPort::SetBaudRate) << ComPort::BaudValue(38400) << en
                               << "speed 38400";
        QTest::newRow("speed in Italian")
            << int(ComPort::SetBaudRate) << ComPort::BaudValue(9600) << it << "velocità 9600";
        QTest::newRow("speed of two bytes")
            << int(ComPort::SetBaudRate) << QByteArray::fromHex("2580") << en
            << "SET-BAUDRATE 25 80";
        QTest::newRow("data bits in German")
            << int(ComPort::SetDataSize) << QByteArray(1, 8) << de << "8 Datenbits";
        QTest::newRow("no parity")
            << int(ComPort::SetParity) << QByteArray(1, 1) << en << "no parity";
        QTest::newRow("even parity")
            << int(ComPort::SetParity) << QByteArray(1, 3) << it << "SET-PARITY 03";
        QTest::newRow("flow control off in German")
            << int(ComPort::SetControl) << QByteArray(1, 1) << de << "keine Flusssteuerung";
        QTest::newRow("XON/XOFF") << int(ComPort::SetControl) << QByteArray(1, 2) << en
                                  << "SET-CONTROL 02";
    }
    void settingWords() {
        QFETCH(int, command);
        QFETCH(QByteArray, value);
        QFETCH(QString, script);
        QFETCH(QString, words);
        QCOMPARE(ComPort::Describe(ComPort::Command(command), value, ScriptTexts(script)), words);
    }

    void addresses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read"); // "kind host port", or a part of the refusal
        QTest::newRow("rfc2217") << "rfc2217://10.0.0.20:4001"
                                 << "rfc2217 10.0.0.20 4001";
        QTest::newRow("raw, name, scheme in capitals") << "TCP://plc-7.plant:2000"
                                                       << "tcp plc-7.plant 2000";
        QTest::newRow("IPv6 in brackets") << "tcp://[::1]:7"
                                          << "tcp ::1 7";
        QTest::newRow("trailing slash") << "rfc2217://h:1/"
                                        << "rfc2217 h 1";
        QTest::newRow("highest port") << "tcp://h:65535"
                                      << "tcp h 65535";
        QTest::newRow("unknown scheme") << "telnet://h:23"
                                        << "unknown scheme 'telnet'";
        QTest::newRow("missing port") << "rfc2217://10.0.0.20"
                                      << "no port";
        QTest::newRow("empty port") << "tcp://h:"
                                    << "no port";
        QTest::newRow("port 0") << "tcp://h:0"
                                << "not 1 to 65535";
        QTest::newRow("port 65536") << "tcp://h:65536"
                                    << "not 1 to 65535";
        QTest::newRow("signed port") << "tcp://h:+80"
                                     << "not 1 to 65535";
        QTest::newRow("no host") << "tcp://:80"
                                 << "no host";
        QTest::newRow("IPv6 without brackets") << "tcp://::1:7"
                                               << "in brackets";
        QTest::newRow("IPv6 bracket open") << "tcp://[::1:7"
                                           << "closing bracket";
        QTest::newRow("text after the brackets") << "tcp://[::1]x:7"
                                                 << "no port (HOST:PORT)";
        QTest::newRow("no IPv6 in the brackets") << "tcp://[plc-7]:7"
                                                 << "'plc-7' is not an IPv6 address";
        QTest::newRow("path after port") << "tcp://h:80/x"
                                         << "not 1 to 65535";
        QTest::newRow("a device path") << "/dev/ttyUSB0"
                                       << "not a network port";
    }
    void addresses() {
        QFETCH(QString, text);
        QFETCH(QString, read);
        NetworkAddress address;
        QString problem;
        if (!NetworkAddress::Parse(text, EnglishTexts(), &address, &problem)) {
            QVERIFY2(problem.contains(read) && problem.startsWith(text), qPrintable(problem));
            return;
        }
        const QString kind = address.kind == NetworkAddress::Kind::RawTcp ? "tcp" : "rfc2217";
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(kind, address.host).arg(address.port), read);
    }
};

QTEST_GUILESS_MAIN(TestTelnet)
#include "tst_telnet.moc"
