#include "Q517Paths.h"
#include "model/CamProgram.h"
#include "model/gui/FileCommands.h"
#include "model/gui/HandedFiles.h"
#include "shell/SingleInstance.h"
#include "app/AppWindow.h"
#include "support/TestSession.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kExample = QStringLiteral(Q517_TEST_DATA_DIR "/camfile_example.CAM");
const QString kQ517 = QStringLiteral(Q517_BINARY_DIR "/src/q517");

// The running q517: its window, with an edited program, and the files handed to it from
// outside wired as at start-up.
struct RunningWindow {
    TestSession t;
    AppWindow window{t.session};
    HandedFiles* handed = new HandedFiles(window, *window.findChild<FileCommands*>());

    explicit RunningWindow(bool unsaved = false) {
        if (unsaved) {
            program().SetPhase(1, 3, 10, 20);
            program().MarkChanged();
        }
        window.show();
    }
    CamProgram& program() { return t.session.program; }
    bool edited() { return program().ReadDegree(1, 3, 15) == 1; }
    bool loaded() { return program().CamName(1) == QStringLiteral("FEEDER"); }
};

// A q517 started as the operator or the file manager starts it, in runtimeDir's desktop
// session, with its data folder under home.
struct Start {
    QProcess process;
    Start(const QStringList& args, const QString& runtimeDir, const QString& home,
          const QString& folder = QDir::currentPath(), bool display = true) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
        env.insert(QStringLiteral("XDG_DATA_HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home);
        if (!display) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(QString::fromLatin1(name));
        }
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.start(kQ517, args);
    }
    // Waits for the end while this test, the running q517, answers it.
    bool ended() {
        return QTest::qWaitFor([this] { return process.state() == QProcess::NotRunning; }, 30000) &&
               process.exitStatus() == QProcess::NormalExit;
    }
    ~Start() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
    }
};
} // namespace

class TestHandedFiles : public QObject {
    Q_OBJECT
private slots:
    void namedFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("loads");
        const int ok = int(Prompts::Answer::Ok);
        const int cancel = int(Prompts::Answer::Cancel);
        QTest::newRow("saved program") << kExample << false << ok << "" << true;
        QTest::newRow("unsaved, OK") << kExample << true << ok << "T112" << true;
        QTest::newRow("unsaved, Cancel") << kExample << true << cancel << "T112" << false;
        QTest::newRow("no such file") << "GONE.CAM" << true << ok << "T481%1\nT480" << false;
        QTest::newRow("damaged") << "BAD.CAM" << true << ok << "T481%1\nC 17T10" << false;
        QTest::newRow("a folder") << "." << true << ok << "T481%1\n" << false;
    }
    void namedFile() {
        QFETCH(QString, name);
        QFETCH(bool, unsaved);
        QFETCH(int, answer);
        QFETCH(QString, message);
        QFETCH(bool, loads);
        RunningWindow w(unsaved);
        QFile bad(w.t.path(QStringLiteral("BAD.CAM")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("FUNZIONI 16-10\r\nNUMERO ANTICIPI  0 \r\nFORMATO IN USCITA  0 \r\n"
                  "SFASAMENTO ENCODER  0 \r\nSENSO DI ROTAZIONE  0 \r\n"
                  "LIMITE DI VELOCITA' 0 \r\n FORMATO N. 01\r\nC 01\r\n 010 020\r\nC 17\r\n");
        bad.close();
        const QString path = QDir::isAbsolutePath(name) ? name : w.t.path(name);
        if (!message.isEmpty())
            w.t.prompts.expectMessageContaining(
                message.contains("%1") ? message.arg(path) : message, Prompts::Answer(answer));
        w.handed->start();
        w.handed->take(path);
        QTRY_VERIFY2(w.t.prompts.allShown(), qPrintable(w.t.prompts.problems()));
        if (loads)
            QTRY_VERIFY(w.loaded());
        QCOMPARE(w.loaded(), loads);
        // A file refused or a question cancelled leaves the program as it was.
        QCOMPARE(w.edited(), unsaved && !loads);
        QCOMPARE(w.program().CamCount(), 24);
        QCOMPARE(w.window.windowTitle().endsWith("[" + path + "]"), loads);
    }

    void nothingOpensBeforeTheStartUpEnds() {
        RunningWindow w;
        w.handed->take(kExample);
        QTest::qWait(0);
        QCoreApplication::processEvents();
        QVERIFY(!w.loaded());
        w.handed->start();
        QTRY_VERIFY(w.loaded());
    }

    void aFileWaitsForTheModalWindow() {
        RunningWindow w;
        w.handed->start();
        QDialog transfer(&w.window);
        transfer.setModal(true);
        transfer.show();
        w.handed->take(kExample);
        QCoreApplication::processEvents();
        QVERIFY(!w.loaded());
        transfer.hide();
        QTRY_VERIFY(w.loaded());
    }

    // The real program as a later start: it hands its file to this one and ends.
    void laterStartOpensItsFileInTheRunningWindow() {
        QTemporaryDir session;
        QTemporaryDir home;
        RunningWindow w;
        SingleInstance first(session.path());
        QVERIFY(first.acquire());
        connect(&first, &SingleInstance::requested, w.handed, &HandedFiles::take);
        w.handed->start();
        QVERIFY(QFile::copy(kExample, home.filePath("OTHER.CAM")));
        Start later({QStringLiteral("OTHER.CAM")}, session.path(), home.path(), home.path());
        QVERIFY(later.ended());
        QCOMPARE(later.process.exitCode(), 0);
        QTRY_VERIFY(w.loaded());
        QVERIFY(w.window.windowTitle().endsWith("[" + home.filePath("OTHER.CAM") + "]"));
        // It never became a window of its own: it made no working directory.
        QVERIFY(!QFile::exists(home.filePath("q517")));
    }

    void laterStartWithoutAFileLeavesOneWindow() {
        QTemporaryDir session;
        QTemporaryDir home;
        RunningWindow w;
        SingleInstance first(session.path());
        QVERIFY(first.acquire());
        QSignalSpy asked(&first, &SingleInstance::requested);
        Start later({}, session.path(), home.path());
        // The running window is asked up; the later start then only says it is in use.
        QTRY_COMPARE_WITH_TIMEOUT(asked.count(), 1, 30000);
        QCOMPARE(asked.at(0).at(0).toString(), QString());
        QCOMPARE(later.process.state(), QProcess::Running);
        QVERIFY(!QFile::exists(home.filePath("q517")));
    }

    // No window, no display, no lock: the answer is printed and the program ends.
    void printedWithoutAWindow_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("output");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Uso: q517 [FILE.CAM]";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "q517 " Q517_VERSION;
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "q517: ";
    }
    void printedWithoutAWindow() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, output);
        QTemporaryDir session;
        QTemporaryDir home;
        Start start(args, session.path(), home.path(), home.path(), false);
        QVERIFY(start.process.waitForFinished(30000));
        QCOMPARE(start.process.exitCode(), status);
        const QByteArray printed = status == 0 ? start.process.readAllStandardOutput()
                                               : start.process.readAllStandardError();
        QVERIFY2(printed.startsWith(output.toLocal8Bit()), printed.constData());
        QVERIFY(
            QDir(session.path())
                .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    }
};

QTEST_MAIN(TestHandedFiles)
#include "tst_handedfiles.moc"
