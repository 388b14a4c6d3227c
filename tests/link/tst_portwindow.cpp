#include "link/gui/PortWindow.h"
#include "model/TextFile.h"
#include "support/EnglishTexts.h"
#include "support/FakeController.h"
#include "support/ScriptedServer.h"
#include "support/TestSession.h"
#include "support/TransferControllerScript.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using Ports = QList<int>;

class TestPortWindow : public QObject {
    Q_OBJECT

    static QStringList entries(const QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list.append(box->itemText(i));
        return list;
    }
    static std::function<bool(int)> machineWith(const Ports& ports) {
        return [ports](int n) { return ports.contains(n); };
    }

private slots:
    void opening_data() {
        QTest::addColumn<Ports>("ports");
        QTest::addColumn<int>("storedPort");
        QTest::addColumn<QString>("storedBaud");
        QTest::addColumn<QString>("selected"); // "" = nothing selected
        QTest::addColumn<QString>("checkedSpeed");
        QTest::addColumn<QString>("settings");
        QTest::newRow("COM 1 at 9600")
            << Ports{1, 2} << 1 << "9600"
            << "COM 1"
            << "Op9600"
            << "Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop";
        QTest::newRow("COM 12 read back")
            << Ports{1, 2, 12, 33} << 12 << "19200"
            << "COM 12"
            << "Op19200"
            << "Current Settings: COM:12, 19200baud, NO parity, 8 bits, 1stop";
        QTest::newRow("COM 64, the last one")
            << Ports{7, 64} << 64 << "2400"
            << "COM 64"
            << "Op2400"
            << "Current Settings: COM:64, 2400baud, NO parity, 8 bits, 1stop";
        QTest::newRow("38400 shown")
            << Ports{3} << 3 << "38400"
            << "COM 3"
            << "Op38400"
            << "Current Settings: COM:3, 38400baud, NO parity, 8 bits, 1stop";
        QTest::newRow("vanished port")
            << Ports{1, 2} << 5 << "9600"
            << ""
            << "Op9600"
            << "Current Settings: COM:5, 9600baud, NO parity, 8 bits, 1stop";
        QTest::newRow("no port at all, odd speed kept") << Ports{} << 4 << "1200"
                                                        << ""
                                                        << "Op9600"
                                                        << "";
        // COM 2 ends in " 2", COM 12 in "12": a stored 2 must not pick COM 12.
        QTest::newRow("2 is not 12")
            << Ports{12, 2} << 2 << "9600"
            << "COM 2"
            << "Op9600"
            << "Current Settings: COM:2, 9600baud, NO parity, 8 bits, 1stop";
    }
    void opening() {
        QFETCH(Ports, ports);
        QFETCH(int, storedPort);
        QFETCH(QString, storedBaud);
        QFETCH(QString, selected);
        QFETCH(QString, checkedSpeed);
        QFETCH(QString, settings);
        TestSession t;
        t.session.options.PortNumber = int16_t(storedPort);
        t.session.options.BaudRate = storedBaud;
        PortWindow window(t.session, nullptr, machineWith(ports));
        auto* box = window.findChild<QComboBox*>(QStringLiteral("ComSel"));
        QVERIFY(box);
        QStringList expected;
        for (int n = 1; n <= 64; ++n) {
            if (ports.contains(n))
                expected.append(QStringLiteral("COM ") + QString::number(n));
        }
        QCOMPARE(entries(box), expected);
        QCOMPARE(box->currentText(), selected);
        QCOMPARE(box->currentIndex() < 0, selected.isEmpty());
        QVERIFY(window.findChild<QRadioButton*>(checkedSpeed)->isChecked());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Panset"))->text(), settings);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lwarn"))->text(), QStringLiteral("T23"));
        // Opening changes nothing the operator did not choose.
        QCOMPARE(int(t.session.options.PortNumber), storedPort);
        QCOMPARE(t.session.options.BaudRate, storedBaud);
    }

    void choices_data() {
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("baud");
        QTest::newRow("2400") << "Op2400"
                              << "2400";
        QTest::newRow("9600") << "Op9600"
                              << "9600";
        QTest::newRow("19200") << "Op19200"
                               << "19200";
        QTest::newRow("38400") << "Op38400"
                               << "38400";
    }
    void choices() {
        QFETCH(QString, speed);
        QFETCH(QString, baud);
        TestSession t;
        t.session.options.BaudRate = QStringLiteral("1200");
        PortWindow window(t.session, nullptr, machineWith({1, 9, 40}));
        auto* box = window.findChild<QComboBox*>(QStringLiteral("ComSel"));
        box->setCurrentIndex(2);
        emit box->activated(2);
        QCOMPARE(int(t.session.options.PortNumber), 40);
        window.findChild<QRadioButton*>(speed)->click();
        QCOMPARE(t.session.options.BaudRate, baud);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Panset"))->text(),
                 QStringLiteral("Current Settings: COM:40, ") + baud +
                     QStringLiteral("baud, NO parity, 8 bits, 1stop"));
    }

    void choosingAnotherPortClosesTheOpenLine() {
        FakeClock lineClock;
        FakeController line(lineClock);
        TestSession t(&line);
        const QString device = t.path(QStringLiteral("tty"));
        QFile(device).open(QIODevice::WriteOnly);
        QVERIFY(t.session.link.open(device, 9600).ready());
        PortWindow window(t.session, nullptr, machineWith({1, 9}));
        // Showing the stored port again leaves the line alone.
        QVERIFY(line.isOpen());
        auto* box = window.findChild<QComboBox*>(QStringLiteral("ComSel"));
        box->setCurrentIndex(1);
        emit box->activated(1);
        QVERIFY(!line.isOpen());
    }

    void okStoresExitKeeps_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("stored");
        QTest::newRow("OK") << "TOK" << true;
        QTest::newRow("EXIT") << "TCL" << false;
    }
    void okStoresExitKeeps() {
        QFETCH(QString, button);
        QFETCH(bool, stored);
        TestSession t;
        QVERIFY(t.session.options.WriteOptionsFile(t.dir.path()));
        QFile file(Options::FilePath(t.dir.path()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        PortWindow window(t.session, nullptr, machineWith({1, 12}));
        auto* box = window.findChild<QComboBox*>(QStringLiteral("ComSel"));
        box->setCurrentIndex(1);
        emit box->activated(1);
        window.findChild<QRadioButton*>(QStringLiteral("Op19200"))->click();
        window.findChild<QPushButton*>(button)->click();
        QVERIFY(!window.isVisible());
        // The choice holds in the running program either way.
        QCOMPARE(int(t.session.options.PortNumber), 12);
        QCOMPARE(t.session.options.BaudRate, QStringLiteral("19200"));
        Options reread;
        t.prompts.setLenient(true);
        QVERIFY(reread.ReadOptionsFile(t.dir.path(), t.prompts));
        QCOMPARE(int(reread.PortNumber), stored ? 12 : 1);
        QCOMPARE(reread.BaudRate, stored ? QStringLiteral("19200") : QStringLiteral("9600"));
        if (!stored) {
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
        }
    }

    // Find controller with two ports: one held by another program, one where a controller
    // answers; the answering one is chosen and its details shown, without a message box.
    void findControllerChoosesThePortThatAnswers() {
        FakeClock lineClock;
        FakeController line(lineClock);
        TestSession t(&line);
        QDir(t.dir.path()).mkpath(QStringLiteral("ports"));
        const QString busy = t.path(QStringLiteral("ports/COM3"));
        const QString answering = t.path(QStringLiteral("ports/COM7"));
        QFile(busy).open(QIODevice::WriteOnly);
        QFile(answering).open(QIODevice::WriteOnly);
        line.failOpen(QStringLiteral("busy"), SerialLine::Opened::InUse, busy);
        line.when("?M8C\r", FakeController::bytes(TransferControllerScript::IdentReply(24, 28)));
        t.session.options.PortNumber = 3;
        PortWindow window(t.session, nullptr, machineWith({3, 7}), [answering] {
            return QList<AdapterInfo>{{answering, QStringLiteral("Acme"), QString(), QString()}};
        });
        auto* info = window.findChild<QLabel*>(QStringLiteral("PortInfo"));
        QCOMPARE(info->text(),
                 QStringLiteral("Device: ") + busy + QStringLiteral("\nAdapter: no description"));
        window.findChild<QPushButton*>(QStringLiteral("K_FIND"))->click();
        QCOMPARE(window.findChild<QComboBox*>(QStringLiteral("ComSel"))->currentText(),
                 QStringLiteral("COM 7"));
        QCOMPARE(int(t.session.options.PortNumber), 7);
        QCOMPARE(info->text(),
                 QStringLiteral("Device: ") + answering + QStringLiteral("\nAdapter: Acme"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("FindLog"))->text(),
                 QStringLiteral("COM 3: in use by another program (") + busy +
                     QStringLiteral(": busy)\nCOM 7: C24-28 answered"));
        QCOMPARE(window.findChild<QProgressBar*>(QStringLiteral("FindBar"))->text(),
                 QStringLiteral("2 of 2"));
        QCOMPARE(line.received(), QByteArray("?M8C\r"));
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("TOK"))->isEnabled());
    }

    // A network port's address is typed beside the list, refused with its reason when it is
    // no address, kept per user and used by the link; Test shows what the server answered.
    // Find controller asks the network ports that have an address.
    void networkPorts() {
        FakeClock lineClock;
        FakeController line(lineClock);
        TestSession t(&line);
        QTemporaryDir config;
        t.session.settings.Load(config.filePath(QStringLiteral("q517.ini")));
        line.when("?M8C\r", FakeController::bytes(TransferControllerScript::IdentReply(24, 28)));
        PortWindow window(t.session, nullptr, machineWith({65, 66}));
        auto* box = window.findChild<QComboBox*>(QStringLiteral("ComSel"));
        auto* field = window.findChild<QLineEdit*>(QStringLiteral("NetPort"));
        auto* log = window.findChild<QLabel*>(QStringLiteral("NetTestLog"));
        auto* test = window.findChild<QPushButton*>(QStringLiteral("K_NETTEST"));
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LNetPort"))->text(), "T450");
        box->setCurrentIndex(0);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("PortInfo"))->text(), "T452");
        field->setText(QStringLiteral("rfc2217://10.0.0.20"));
        field->editingFinished();
        QVERIFY2(log->text().startsWith("T453") && log->text().contains("no port"),
                 qPrintable(log->text()));
        QVERIFY(t.session.settings.NetworkPorts().isEmpty());

        ScriptedServer server(ScriptedServer::Script{});
        field->setText(server.address());
        // What the server answered is told in the session's language.
        t.session.texts = ItalianTexts();
        test->click();
        QCOMPARE(t.session.settings.NetworkPorts().value(65), server.address());
        QCOMPARE(t.session.link.state.NetworkPorts, t.session.settings.NetworkPorts());
        QVERIFY2(
            log->text().startsWith(ItalianTexts().Text(454) + "\n") &&
                log->text().contains("\nlinee del modem: CTS attivo, DSR attivo, CD inattivo\n") &&
                log->text().contains("\nvelocità 9600\ncontrollo di flusso RTS/CTS\n") &&
                log->text().endsWith(ItalianTexts().Text(456)),
            qPrintable(log->text()));
        t.numberTexts();

        // COM 66 has no address: only COM 65 is asked, at its address.
        window.findChild<QPushButton*>(QStringLiteral("K_FIND"))->click();
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("FindLog"))->text(),
                 QStringLiteral("COM 65: C24-28 answered"));
        QCOMPARE(line.openedDevice(), server.address());
    }

    // Stop, or Escape, while a port is asked: the search ends after that port, the window stays.
    void findControllerStops_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Stop") << false;
        QTest::newRow("Escape") << true;
    }
    void findControllerStops() {
        QFETCH(bool, byEscape);
        // The silent port's wait runs on the session's clock.
        TestSession t;
        FakeController line{t.clock};
        Session session{t.prompts, t.clock, t.dialog, line, t.dir.path()};
        SpeakEnglish(session);
        QDir(t.dir.path()).mkpath(QStringLiteral("ports"));
        for (const char* name : {"ports/COM3", "ports/COM7"})
            QFile(t.path(QLatin1String(name))).open(QIODevice::WriteOnly);
        session.options.PortNumber = 3;
        PortWindow window(session, nullptr, machineWith({3, 7}));
        window.show();
        auto* find = window.findChild<QPushButton*>(QStringLiteral("K_FIND"));
        // The operator acts while COM 3 is asked; only COM 7 has a controller.
        line.onWrite([&](const QByteArray&, FakeController& c) {
            if (c.openedDevice().endsWith(QLatin1String("COM7"))) {
                c.queue(TransferControllerScript::IdentReply(24, 28));
                return;
            }
            QCOMPARE(find->text(), QStringLiteral("&Stop"));
            if (byEscape)
                QTest::keyClick(&window, Qt::Key_Escape);
            else
                find->click();
        });
        find->click();
        QVERIFY(window.isVisible());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("FindLog"))->text(),
                 QStringLiteral("COM 3: no controller answered\nSearch stopped"));
        QCOMPARE(line.received(), QByteArray("?M8C\r"));
        QCOMPARE(find->text(), QStringLiteral("&Find controller"));
        QCOMPARE(int(session.options.PortNumber), 3);
    }

    void settingsLine() {
        QCOMPARE(PortWindow::PortSettingsText(EnglishTexts(), 1, QStringLiteral("9600")),
                 QStringLiteral("Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop"));
    }
};

QTEST_MAIN(TestPortWindow)
#include "tst_portwindow.moc"
