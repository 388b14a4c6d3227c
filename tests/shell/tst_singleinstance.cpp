#include "shell/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

// Started again as a child, this test program plays another q517: it takes the lock in the
// directory it is given and holds it until it is killed.
static int holdLockUntilKilled(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SingleInstance instance(qEnvironmentVariable("Q517_HOLD_LOCK"));
    std::puts(instance.acquire() ? "locked" : "refused");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
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
