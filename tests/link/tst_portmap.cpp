#include "link/PortMap.h"

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
};

QTEST_APPLESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
