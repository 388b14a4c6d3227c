#include "Q517Paths.h"
#include "model/CamFileName.h"
#include "model/CamFileWriter.h"
#include "model/TextFile.h"
#include "shell/CamFileLoading.h"
#include "support/EnglishTexts.h"
#include "support/FileSizeLimit.h"
#include "support/TestSession.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QByteArray kOldFile = "FUNZIONI 24-06\r\nthe old file\r\n";
} // namespace

class TestCamFileSave : public QObject {
    Q_OBJECT
private slots:
    void saveAsNames_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plan") << "/home/op/plan"
                              << "/home/op/PLAN.CAM";
        QTest::newRow("plan.txt") << "/home/op/plan.txt"
                                  << "/home/op/PLAN.CAM";
        QTest::newRow("plan.cam") << "/home/op/plan.cam"
                                  << "/home/op/PLAN.CAM";
        QTest::newRow("plan.Cam") << "/home/op/plan.Cam"
                                  << "/home/op/PLAN.CAM";
        QTest::newRow("two dots") << "/home/op/plan.v2.txt"
                                  << "/home/op/PLAN.CAM";
        QTest::newRow("a trailing dot") << "/home/op/plan."
                                        << "/home/op/PLAN.CAM";
        QTest::newRow("a dotted directory") << "/home/op/plans.v2/plan"
                                            << "/home/op/plans.v2/PLAN.CAM";
        QTest::newRow("directory case kept") << "/home/Op/Mixed.Dir/plan.cam"
                                             << "/home/Op/Mixed.Dir/PLAN.CAM";
        QTest::newRow("no directory") << "plan"
                                      << "PLAN.CAM";
        QTest::newRow("accented letters") << "/tmp/säge"
                                          << "/tmp/SÄGE.CAM";
        QTest::newRow("a directory only") << "/home/op/"
                                          << "";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void saveAsNames() {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        QCOMPARE(CamFileNameFor(chosen), stored);
    }

    // Cam file dialogs start where the operator's files are, never in the data folder.
    void dialogsStartInTheLastCamFolder_data() {
        QTest::addColumn<QStringList>("files"); // relative to a scratch folder holding plans/
        QTest::addColumn<QString>("folder");    // relative to it; "docs": the documents folder
        QTest::newRow("the program's file") << QStringList{"plans/A.CAM", "old/B.CAM"} << "plans";
        QTest::newRow("its folder gone: a recent one")
            << QStringList{"gone/A.CAM", "", "plans/B.CAM"} << "plans";
        QTest::newRow("a file in the data folder") << QStringList{"data/A.CAM"} << "docs";
        QTest::newRow("no file at all") << QStringList{""} << "docs";
    }
    void dialogsStartInTheLastCamFolder() {
        QFETCH(QStringList, files);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("plans")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("data")));
        for (QString& file : files) {
            if (!file.isEmpty())
                file = dir.filePath(file);
        }
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString want = folder == QLatin1String("docs")
                                 ? (QFileInfo(documents).isDir() ? documents : QDir::homePath())
                                 : QDir(dir.filePath(folder)).canonicalPath();
        QCOMPARE(CamFileStartFolder(files, dir.filePath(QStringLiteral("data"))), want);
    }

    void failedWritesKeepTheOldFile_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("cause"); // in English
        QTest::newRow("directory missing")
            << "missing/PLAN.CAM" << 76 << "PLAN.CAM: the directory does not exist";
        QTest::newRow("a directory has the name")
            << "folder.CAM" << 75 << "folder.CAM: a directory has that name";
        QTest::newRow("no file name") << "" << 75 << ": no file name";
    }
    void failedWritesKeepTheOldFile() {
        QFETCH(QString, target);
        QFETCH(int, number);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.CAM")));
        const QString old = dir.filePath(QStringLiteral("OLD.CAM"));
        QVERIFY(writeBytes(old, kOldFile));
        CamProgram p;
        FileWriteError error;
        const QString path = target.isEmpty() ? target : dir.filePath(target);
        QVERIFY(!WriteCamFile(p, path, false, &error));
        QFETCH(QString, cause);
        QCOMPARE(error.Number, number);
        QVERIFY2(FileWriteErrorText(error, EnglishTexts()).endsWith(cause), qPrintable(error.What));
        QCOMPARE(contents(old), kOldFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"OLD.CAM"});
    }

    void aFullDiskKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("PLAN.CAM"));
        QVERIFY(writeBytes(path, kOldFile));
        CamProgram p;
        for (int f = 1; f <= 6; ++f)
            p.SetPhase(f, 1, 10, 20);
        FileWriteError error;
        bool written = true;
        {
            FileSizeLimit limit(64);
            written = WriteCamFile(p, path, false, &error);
        }
        QVERIFY(!written);
        QCOMPARE(error.Number, 61);
        // The system's own reason, not "Unknown error": the first write is only cut short.
        QVERIFY2(error.What.endsWith(QStringLiteral("PLAN.CAM: File too large")),
                 qPrintable(error.What));
        QCOMPARE(contents(path), kOldFile);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"PLAN.CAM"});
    }

    // The shared line writer (options file, transfer file) must not report a cut-short
    // save as done either.
    void lineWritesReportAFullDisk() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q517_opt.def"));
        QVERIFY(writeBytes(path, kOldFile));
        bool written = true;
        QString why;
        {
            FileSizeLimit limit(16);
            written = TextFile::WriteLines(path, {QString(100, QLatin1Char('x'))}, &why);
        }
        QVERIFY(!written);
        QCOMPARE(why, QStringLiteral("File too large"));
        QCOMPARE(contents(path), kOldFile);
    }

    void loadReadsAndHeadsTheRecentList() {
        TestSession t;
        const QString path = QStringLiteral(Q517_TEST_DATA_DIR "/camfile_example.CAM");
        t.session.options.RecentFiles = {QStringLiteral("/a/OTHER.CAM"), path};
        t.session.program.CurrentFormat = 3;
        QVERIFY(LoadCamFile(t.session, path).done());
        QCOMPARE(t.session.program.CamName(1), QStringLiteral("FEEDER"));
        QCOMPARE(t.session.program.CurrentFormat, 1);
        QCOMPARE(t.session.program.CurrentFileName, path);
        QCOMPARE(t.session.options.RecentFiles, (QStringList{path, "/a/OTHER.CAM"}));
        QVERIFY(t.prompts.allShown());
    }

    void loadOfARefusedFileNamesTheLineAndKeepsTheProgram() {
        TestSession t;
        const QString path = t.path(QStringLiteral("BAD.CAM"));
        QVERIFY(writeBytes(path, "FUNZIONI 24-10\r\n"));
        t.session.program.CurrentFileName = QStringLiteral("/a/OLD.CAM");
        const Outcome loaded = LoadCamFile(t.session, path);
        QCOMPARE(loaded.message, QStringLiteral("FUNZIONI 24-10T10"));
        QCOMPARE(loaded.place, path + QStringLiteral(" line 1"));
        QCOMPARE(t.session.program.CurrentFileName, QStringLiteral("/a/OLD.CAM"));
        QVERIFY(t.session.options.RecentFiles.isEmpty());
    }

    // Open of something that is no file to read names it and the reason, at once (a FIFO
    // without a writer must not hang the window).
    void loadOfAnUnreadableFileNamesTheFile_data() {
        QTest::addColumn<bool>("fifo");
        QTest::newRow("a directory") << false;
        QTest::newRow("a FIFO") << true;
    }
    void loadOfAnUnreadableFileNamesTheFile() {
        QFETCH(bool, fifo);
        TestSession t;
        const QString path = t.path(QStringLiteral("DIR.CAM"));
        QVERIFY(fifo ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                     : QDir().mkpath(path));
        QCOMPARE(LoadCamFile(t.session, path).message,
                 QStringLiteral("File [") + path + QStringLiteral("]: ") +
                     (fifo ? QStringLiteral("a FIFO") : QStringLiteral("a directory")) +
                     QStringLiteral(", not a regular file"));
        QVERIFY(t.session.program.CurrentFileName.isEmpty());
    }

    void loadOfAVanishedFileSaysNothing() {
        TestSession t;
        const Outcome loaded = LoadCamFile(t.session, t.path(QStringLiteral("GONE.CAM")));
        QVERIFY(!loaded.done());
        QVERIFY(loaded.text(t.session.texts).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCamFileSave)
#include "tst_camfilesave.moc"
