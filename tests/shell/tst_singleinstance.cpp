#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <future>

// Started again as a child, this test program plays another q517: it takes the lock in the
// directory it is given and holds it until it is killed.
static int holdLockUntilKilled(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SingleInstance instance(qEnvironmentVariable("Q517_HOLD_LOCK"));
    std::puts(instance.acquire() ? "locked" : "refused");
    std::fflush(stdout);
    return app.exec();
}

// A later start, on a thread of its own: the first instance (this test) keeps its event loop
// running meanwhile, as the running q517 does.
static bool handOverFromAnotherStart(const QString& dir, const QString& file,
                                     unsigned user = SingleInstance::CurrentUser()) {
    auto later = std::async(std::launch::async, [&] {
        SingleInstance second(dir, user);
        return !second.acquire() && second.handOver(file, 5000);
    });
    while (later.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return later.get();
}

class TestSingleInstance : public QObject {
    Q_OBJECT

    // Starts a child that holds the lock in dir; false when it could not take it.
    static bool startHolder(QProcess& child, const QString& dir) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("Q517_HOLD_LOCK", dir);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForStarted(10000) || !child.waitForReadyRead(10000))
            return false;
        return child.readLine().trimmed() == "locked";
    }

private slots:
    void secondInstanceInTheSameDirectoryIsRefused() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.acquire());
        SingleInstance second(dir.path());
        QVERIFY(!second.acquire());
        // Another runtime directory is another desktop session.
        QTemporaryDir other;
        SingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.acquire());
    }

    void lockIsFreeAfterTheFirstEnds() {
        QTemporaryDir dir;
        {
            SingleInstance first(dir.path());
            QVERIFY(first.acquire());
        }
        SingleInstance next(dir.path());
        QVERIFY(next.acquire());
    }

    void runningProcessKeepsItsLock() {
        QTemporaryDir dir;
        QProcess child;
        QVERIFY(startHolder(child, dir.path()));
        SingleInstance second(dir.path());
        QVERIFY(!second.acquire());
        child.kill();
        child.waitForFinished(10000);
    }

    void laterStartHandsItsFileOver_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("no file: the window only comes up") << "";
        QTest::newRow("a file") << "/srv/cams/PRESS1.CAM";
        QTest::newRow("blanks and accents") << QString::fromUtf8("/srv/cams/PRÈSS 2 (copia).CAM");
        QTest::newRow("a name with a line break") << "/srv/cams/A\nB.CAM";
    }
    void laterStartHandsItsFileOver() {
        QFETCH(QString, file);
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.acquire());
        QSignalSpy asked(&first, &SingleInstance::requested);
        QVERIFY(handOverFromAnotherStart(dir.path(), file));
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked.at(0).at(0).toString(), file);
        // Only its user may speak to it.
        const QFileInfo socket(dir.filePath("q517.socket"));
        QCOMPARE(socket.permissions() &
                     (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
    }

    void anotherUsersSocketIsNeverUsed() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.acquire());
        QSignalSpy asked(&first, &SingleInstance::requested);
        const unsigned stranger = SingleInstance::CurrentUser() + 1;
        QVERIFY(!handOverFromAnotherStart(dir.path(), QStringLiteral("/srv/A.CAM"), stranger));
        QCOMPARE(asked.count(), 0);
    }

    void anotherUsersSocketIsNotTakenOver() {
        QTemporaryDir dir;
        // A socket without a lock, as a crashed run leaves it, but of someone else.
        QLocalServer left;
        QVERIFY(left.listen(dir.filePath("q517.socket")));
        SingleInstance next(dir.path(), SingleInstance::CurrentUser() + 1);
        QVERIFY(next.acquire());
        QVERIFY(!next.listening());
        QVERIFY(left.isListening());
        QVERIFY(QFileInfo::exists(dir.filePath("q517.socket")));
    }

    // Whatever a connection sends, the running window is asked nothing it cannot take.
    void requestsThatAreNotTaken_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("unknown command") << QByteArray("X/srv/A.CAM", 12);
        QTest::newRow("open without a name") << QByteArray("O", 2);
        QTest::newRow("no end, beyond the limit")
            << QByteArray(SingleInstance::MaxRequestBytes + 10, 'O');
    }
    void requestsThatAreNotTaken() {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.acquire());
        QSignalSpy asked(&first, &SingleInstance::requested);
        QLocalSocket socket;
        QSignalSpy closed(&socket, &QLocalSocket::disconnected);
        socket.connectToServer(dir.filePath("q517.socket"));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(bytes);
        QVERIFY(closed.wait(10000));
        QCOMPARE(asked.count(), 0);
        QVERIFY(!socket.readAll().contains('K'));
    }

    void lockOfACrashedRunIsRecovered() {
        QTemporaryDir dir;
        QProcess child;
        QVERIFY(startHolder(child, dir.path()));
        // A kill leaves the lock file behind, as a crash would.
        child.kill();
        QVERIFY(child.waitForFinished(10000));
        QVERIFY(!QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
        SingleInstance next(dir.path());
        QVERIFY(next.acquire());
        SingleInstance third(dir.path());
        QVERIFY(!third.acquire());
        // The crashed run's socket is taken over with the lock: later starts reach the new one.
        QVERIFY(next.listening());
        QSignalSpy asked(&next, &SingleInstance::requested);
        QVERIFY(handOverFromAnotherStart(dir.path(), QStringLiteral("/srv/B.CAM")));
        QCOMPARE(asked.count(), 1);
    }
};

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsSet("Q517_HOLD_LOCK"))
        return holdLockUntilKilled(argc, argv);
    QCoreApplication app(argc, argv);
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
