#include "link/PortDetails.h"
#include "link/PortMap.h"
#include "link/QtSerialLine.h"
#include "support/EnglishTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class TestPortMap : public QObject {
    Q_OBJECT
private slots:
    void machineDevices_data() {
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("device");
        QTest::newRow("COM1") << 1 << "/dev/ttyS0";
        QTest::newRow("COM32") << 32 << "/dev/ttyS31";
        QTest::newRow("COM33") << 33 << "/dev/ttyUSB0";
        QTest::newRow("COM48") << 48 << "/dev/ttyUSB15";
        QTest::newRow("COM49") << 49 << "/dev/ttyACM0";
        QTest::newRow("COM64") << 64 << "/dev/ttyACM15";
        QTest::newRow("COM0") << 0 << "";
        QTest::newRow("COM65") << 65 << "";
        QTest::newRow("negative") << -3 << "";
    }
    void machineDevices() {
        QFETCH(int, port);
        QFETCH(QString, device);
        QTemporaryDir work;
        QCOMPARE(PortMap::PortDevice(port, work.path()), device);
    }

    void linkComesFirst() {
        QTemporaryDir work;
        QDir(work.path()).mkpath(QStringLiteral("ports"));
        const QString target = work.filePath(QStringLiteral("target"));
        QFile(target).open(QIODevice::WriteOnly);
        const QString link = work.filePath(QStringLiteral("ports/COM3"));
        QVERIFY(QFile::link(target, link));
        QCOMPARE(PortMap::PortDevice(3, work.path()), link);
        QCOMPARE(PortMap::PortDevice(4, work.path()), QStringLiteral("/dev/ttyS3"));
        // A link whose simulator has gone points nowhere: the machine's device is meant.
        QFile::remove(target);
        QCOMPARE(PortMap::PortDevice(3, work.path()), QStringLiteral("/dev/ttyS2"));
    }

    void onlySerialLinesExist() {
        QTemporaryDir work;
        const QString plain = work.filePath(QStringLiteral("plain"));
        QFile(plain).open(QIODevice::WriteOnly);
        QVERIFY(!PortMap::DeviceExists(plain));
        QVERIFY(!PortMap::DeviceExists(work.filePath(QStringLiteral("missing"))));
        QVERIFY(!PortMap::DeviceExists(QString()));

        // A pseudo-terminal is a serial line, reached through its port link.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        QVERIFY(PortMap::DeviceExists(slave));
        QDir(work.path()).mkpath(QStringLiteral("ports"));
        QVERIFY(QFile::link(slave, work.filePath(QStringLiteral("ports/COM12"))));
        QVERIFY(EnumSerPorts(12, work.path()));
        ::close(master);
        // Once the terminal is gone its link leads nowhere and COM12 is what the machine has.
        QCOMPARE(EnumSerPorts(12, work.path()),
                 PortMap::DeviceExists(QStringLiteral("/dev/ttyS11")));
    }

    // A device another program holds is in use, not a device that failed to open, whether
    // either names it directly or through a port link (the lock is the device's, not the
    // name's; root passes the exclusive open, so the lock is all that stops it).
    void deviceHeldElsewhereIsInUse_data() {
        QTest::addColumn<bool>("holderByLink");
        QTest::addColumn<bool>("otherByLink");
        QTest::newRow("both by the device") << false << false;
        QTest::newRow("held by the device, asked through a link") << false << true;
        QTest::newRow("held through a link, asked by the device") << true << false;
    }
    void deviceHeldElsewhereIsInUse() {
        QFETCH(bool, holderByLink);
        QFETCH(bool, otherByLink);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        QTemporaryDir work;
        const QString link = work.filePath(QStringLiteral("COM7"));
        QVERIFY(QFile::link(slave, link));
        QtSerialLine holder;
        QtSerialLine other;
        QString why;
        QCOMPARE(holder.open(holderByLink ? link : slave, &why), SerialLine::Opened::Yes);
        QCOMPARE(other.open(otherByLink ? link : slave, &why), SerialLine::Opened::InUse);
        QVERIFY(!why.isEmpty());
        holder.close();
        QCOMPARE(other.open(otherByLink ? link : slave, &why), SerialLine::Opened::Yes);
        other.close();
        ::close(master);
    }

    // Beside the port list: the device, where its link leads, and what the adapter the system
    // lists for that device says of itself ("maker|product|serial number").
    void details_data() {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QString>("listed"); // the device the system lists the adapter for
        QTest::addColumn<QString>("adapter");
        QTest::newRow("USB adapter") << "Acme|USB-RS232 Cable|A1B2"
                                     << "tty"
                                     << "Acme, USB-RS232 Cable, serial number A1B2";
        QTest::newRow("maker named twice") << "Acme|Acme|"
                                           << "tty"
                                           << "Acme";
        QTest::newRow("says nothing") << "| |"
                                      << "tty"
                                      << "no description";
        QTest::newRow("another device's") << "Acme|Cable|1"
                                          << "other"
                                          << "no description";
    }
    void details() {
        QFETCH(QString, fields);
        QFETCH(QString, listed);
        QFETCH(QString, adapter);
        QTemporaryDir work;
        QDir(work.path()).mkpath(QStringLiteral("ports"));
        const QString target = work.filePath(QStringLiteral("tty"));
        const QString link = work.filePath(QStringLiteral("ports/COM3"));
        QFile(target).open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(target, link));
        const QStringList f = fields.split(QLatin1Char('|'));
        const QList<AdapterInfo> adapters{{work.filePath(listed), f[0], f[1], f[2]}};
        QCOMPARE(
            PortDetailsLines(DescribePort(3, work.path(), adapters), EnglishTexts()),
            QStringList({QStringLiteral("Device: ") + link, QStringLiteral("Link to: ") + target,
                         QStringLiteral("Adapter: ") + adapter}));
        // Unplugged while listed: COM 64 is /dev/ttyACM15, and it has gone.
        if (!QFile::exists(QStringLiteral("/dev/ttyACM15")))
            QCOMPARE(PortDetailsLines(DescribePort(64, work.path(), adapters), EnglishTexts()),
                     QStringList({QStringLiteral("Device: /dev/ttyACM15"),
                                  QStringLiteral("Not there any more")}));
    }
};

QTEST_APPLESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
