#include "Q517Paths.h"
#include "app/AppWindow.h"
#include "model/CamProgram.h"
#include "support/FileSizeLimit.h"
#include "support/TestSession.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {
QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

const QString kExample = QStringLiteral(Q517_TEST_DATA_DIR "/camfile_example.CAM");
const QString kFilter = QStringLiteral("T57(*.Cam)|*.cam|T73(*.*)|*.*");

// A window over a test session, with an edited, unsaved program in it.
struct Fixture {
    TestSession t;
    AppWindow window{t.session};
    QSignalSpy redraws{&window.host(), &WindowHost::redrawRequested};

    Fixture() {
        CamProgram& p = program();
        p.SetPhase(2, 3, 10, 20);
        p.SetCamName(3, QStringLiteral("PUSHER"));
        p.CurrentFormat = 2;
        p.MarkChanged();
    }
    CamProgram& program() { return t.session.program; }
    void trigger(const char* name) {
        QAction* a = window.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(a, name);
        a->trigger();
    }
    bool edited() { return program().ReadDegree(2, 3, 15) == 1; }
    QLabel* statusFile() { return window.findChild<QLabel*>(QStringLiteral("StFile")); }
    bool allShown() const { return t.prompts.allShown(); }
};
} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void newAsksBeforeDroppingUnsavedWork_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        for (const char* entry : {"f_New", "New_Fil"}) {
            QTest::addRow("%s, Cancel", entry) << entry << int(Prompts::Answer::Cancel) << false;
            QTest::addRow("%s, OK", entry) << entry << int(Prompts::Answer::Ok) << true;
        }
    }
    void newAsksBeforeDroppingUnsavedWork() {
        QFETCH(QString, entry);
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        Fixture f;
        f.program().CurrentFileName = QStringLiteral("/x/OLD.CAM");
        const QString title = f.window.windowTitle();
        f.t.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer(answer));
        f.trigger(entry.toLatin1().constData());
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QCOMPARE(f.t.prompts.messages().at(0).title, title);
        QCOMPARE(f.t.prompts.messages().at(0).buttons, Prompts::Buttons::OkCancelDefaultCancel);
        QCOMPARE(f.edited(), !emptied);
        QCOMPARE(f.program().CamName(3).isEmpty(), emptied);
        QCOMPARE(f.program().CurrentFileName.isEmpty(), emptied);
        if (emptied) {
            QVERIFY(f.program().ProgramSaved);
            QCOMPARE(f.program().CurrentFormat, 1);
            QCOMPARE(f.window.windowTitle(), QStringLiteral("T33 C 24 - 6"));
            QVERIFY(f.redraws.count() > 0);
        }
    }

    void newOfASavedProgramAsksNothing() {
        Fixture f;
        f.program().MarkSaved();
        f.trigger("f_New");
        QVERIFY(!f.edited());
        QVERIFY(f.t.prompts.messages().isEmpty());
    }

    void openLoadsTheChosenFile() {
        Fixture f;
        f.t.session.options.RecentFiles = {kExample};
        f.t.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer::Ok);
        f.t.dialogs.chooseNextFile(kExample);
        f.trigger("OP_FIL");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QCOMPARE(f.t.dialogs.titles, QStringList{"T11"});
        QCOMPARE(f.t.dialogs.filters, QStringList{kFilter});
        QCOMPARE(f.t.dialogs.saveDialogs, QList<bool>{false});
        // It starts beside the last cam file used, not in the data folder.
        QCOMPARE(f.t.dialogs.initialDirs, QStringList{QFileInfo(kExample).dir().canonicalPath()});
        QVERIFY(!f.edited());
        QCOMPARE(f.program().CamName(1), QStringLiteral("FEEDER"));
        QVERIFY(f.program().ReadDegree(1, 1, 355));
        QVERIFY(f.program().CamName(3).isEmpty()); // the file's program, not a merge
        QCOMPARE(f.program().CurrentFileName, kExample);
        QCOMPARE(f.program().CurrentFormat, 1);
        QVERIFY(f.program().ProgramSaved);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("T33 C 24 - 6  [") + kExample + "]");
        QCOMPARE(f.statusFile()->text(), QStringLiteral("camfile_example.CAM"));
        QCOMPARE(f.statusFile()->toolTip(), kExample);
        QCOMPARE(f.t.session.options.RecentFiles.value(0), kExample);
        QAction* entry = f.window.findChild<QAction*>(QStringLiteral("F_Mnu_oldF_1"));
        QVERIFY(entry);
        QCOMPARE(entry->text(), QStringLiteral("&1 ") + kExample);
    }

    void openCancelledAtTheQuestionChangesNothing() {
        Fixture f;
        f.t.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer::Cancel);
        f.trigger("f_Open");
        QVERIFY(f.allShown());
        QVERIFY(f.t.dialogs.titles.isEmpty());
        QVERIFY(f.edited());
        QVERIFY(!f.program().ProgramSaved);
    }

    // Only a file read whole replaces the program: a cancelled dialog, a refused or damaged
    // file, a recent file gone leave the operator's program, its name and title as they were.
    void openThatLoadsNothingKeepsTheProgram_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QByteArray>("file"); // "" = none chosen / gone
        QTest::addColumn<QString>("message");
        const QByteArray head = "FUNZIONI 16-10\r\nNUMERO ANTICIPI  0 \r\nFORMATO IN USCITA  0 \r\n"
                                "SFASAMENTO ENCODER  0 \r\nSENSO DI ROTAZIONE  0 \r\n"
                                "LIMITE DI VELOCITA' 0 \r\n FORMATO N. 01\r\nC 01\r\n 010 020\r\n";
        QTest::newRow("dialog cancelled") << "f_Open" << QByteArray() << "";
        QTest::newRow("refused file") << "f_Open" << head + "C 17\r\n"
                                      << "C 17T10";
        QTest::newRow("damaged phase line") << "OP_FIL" << head + " 030 9x0\r\n"
                                            << "]\nT380";
        QTest::newRow("recent file gone") << "F_Mnu_oldF_1" << QByteArray() << "";
        QTest::newRow("recent file refused") << "F_Mnu_oldF_1" << head + "C 17\r\n"
                                             << "C 17T10";
    }
    void openThatLoadsNothingKeepsTheProgram() {
        QFETCH(QString, entry);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        Fixture f;
        const QString old = f.t.path(QStringLiteral("OLD.CAM"));
        f.program().CurrentFileName = old;
        f.window.showTitleWithFile(old);
        const QString title = f.window.windowTitle();
        const QString path = f.t.path(QStringLiteral("BAD.CAM"));
        if (!file.isEmpty())
            QVERIFY(writeBytes(path, file));
        f.t.session.options.RecentFiles = {path};
        f.window.refreshRecentFiles();
        f.t.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer::Ok);
        if (entry != QLatin1String("F_Mnu_oldF_1"))
            f.t.dialogs.chooseNextFile(file.isEmpty() ? QString() : path);
        if (!message.isEmpty())
            f.t.prompts.expectMessageContaining(message);
        f.trigger(entry.toLatin1().constData());
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QVERIFY(f.edited());
        QCOMPARE(f.program().CamName(3), QStringLiteral("PUSHER"));
        QCOMPARE(f.program().CamCount(), 24);
        QVERIFY(!f.program().ProgramSaved);
        QCOMPARE(f.program().CurrentFileName, old);
        QCOMPARE(f.window.windowTitle(), title);
        QCOMPARE(f.t.session.options.RecentFiles, QStringList{path});
    }

    void recentEntryLoadsTheFile() {
        Fixture f;
        f.t.session.options.RecentFiles = {kExample};
        f.window.refreshRecentFiles();
        f.t.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer::Ok);
        f.trigger("F_Mnu_oldF_1");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QVERIFY(!f.edited());
        QCOMPARE(f.program().CurrentFileName, kExample);
        QCOMPARE(f.program().CamName(1), QStringLiteral("FEEDER"));
        QVERIFY(f.window.windowTitle().endsWith(QStringLiteral("[") + kExample + "]"));
    }

    void saveWritesTheNamedFile() {
        Fixture f;
        const QString path = f.t.path(QStringLiteral("PLAN.CAM"));
        f.program().CurrentFileName = path;
        f.window.refreshStatus();
        QCOMPARE(f.statusFile()->text(), QStringLiteral("PLAN.CAM *"));
        f.trigger("f_Save");
        QVERIFY(f.program().ProgramSaved);
        QCOMPARE(f.statusFile()->text(), QStringLiteral("PLAN.CAM"));
        const QByteArray written = contents(path);
        QVERIFY(written.startsWith("FUNZIONI 24-06\r\n"));
        // The port is closed, so every format carries the names.
        QVERIFY(written.contains(" FORMATO N. 02\r\nC 03\"PUSHER\"\r\n 010 020\r\n"));
        QVERIFY(f.t.prompts.messages().isEmpty());
    }

    void saveWithoutANameAsksFirst_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("Cancel") << int(Prompts::Answer::Cancel);
        QTest::newRow("OK") << int(Prompts::Answer::Ok);
    }
    void saveWithoutANameAsksFirst() {
        QFETCH(int, answer);
        Fixture f;
        f.t.prompts.expectMessage(QStringLiteral("T32"), Prompts::Answer(answer));
        if (answer == int(Prompts::Answer::Ok))
            f.t.dialogs.chooseNextFile(f.t.path(QStringLiteral("plan")));
        f.trigger("Sv_Fil");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QCOMPARE(f.t.prompts.messages().at(0).title, QStringLiteral("T12"));
        const bool saved = answer == int(Prompts::Answer::Ok);
        QCOMPARE(f.program().ProgramSaved, saved);
        QCOMPARE(QFile::exists(f.t.path(QStringLiteral("PLAN.CAM"))), saved);
    }

    void saveAsNamesTheFile_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plan") << "plan"
                              << "PLAN.CAM";
        QTest::newRow("plan.txt") << "plan.txt"
                                  << "PLAN.CAM";
        QTest::newRow("plan.cam") << "plan.cam"
                                  << "PLAN.CAM";
        QTest::newRow("dotted directory") << "plans.v2/plan"
                                          << "plans.v2/PLAN.CAM";
    }
    void saveAsNamesTheFile() {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        Fixture f;
        QVERIFY(QDir(f.t.dir.path()).mkdir(QStringLiteral("plans.v2")));
        f.program().CurrentFileName = QStringLiteral("/x/OLD.CAM");
        f.t.session.options.RecentFiles = {QStringLiteral("/x/OLD.CAM")};
        f.t.dialogs.chooseNextFile(f.t.path(chosen));
        f.trigger("f_SaveAS");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QCOMPARE(f.t.dialogs.titles, QStringList{"T109"});
        QCOMPARE(f.t.dialogs.filters, QStringList{kFilter});
        QCOMPARE(f.t.dialogs.initialNames, QStringList{"/x/OLD.CAM"});
        const QString path = f.t.path(stored);
        QVERIFY(contents(path).startsWith("FUNZIONI 24-06\r\n"));
        QCOMPARE(f.program().CurrentFileName, path);
        QVERIFY(f.program().ProgramSaved);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("T33 C 24 - 6  [") + path + "]");
        // The saved file heads the recent list, in the File menu too.
        QCOMPARE(f.t.session.options.RecentFiles, (QStringList{path, "/x/OLD.CAM"}));
        const QList<QAction*> entries = f.window.menu("F_")->actions();
        QVERIFY(std::any_of(entries.begin(), entries.end(),
                            [&](const QAction* a) { return a->text() == "&1 " + path; }));
    }

    void saveAsOverAnExistingFileAsks_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("Yes") << int(Prompts::Answer::Yes) << true;
        QTest::newRow("No") << int(Prompts::Answer::No) << false;
        QTest::newRow("Cancel") << int(Prompts::Answer::Cancel) << false;
    }
    void saveAsOverAnExistingFileAsks() {
        QFETCH(int, answer);
        QFETCH(bool, replaced);
        Fixture f;
        const QString path = f.t.path(QStringLiteral("PLAN.CAM"));
        QVERIFY(writeBytes(path, "old"));
        f.t.dialogs.chooseNextFile(f.t.path(QStringLiteral("plan.cam")));
        f.t.prompts.expectMessage(QStringLiteral("T108") + path, Prompts::Answer(answer));
        f.trigger("f_SaveAS");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QCOMPARE(f.t.prompts.messages().at(0).buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(f.t.prompts.messages().at(0).title, QStringLiteral("T109"));
        QCOMPARE(contents(path) != "old", replaced);
        QCOMPARE(f.program().ProgramSaved, replaced);
    }

    void saveAsWithoutAFileName() {
        Fixture f;
        f.t.dialogs.chooseNextFile(f.t.dir.path() + QLatin1Char('/'));
        f.t.prompts.expectMessage(QStringLiteral("T111"));
        f.trigger("f_SaveAS");
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QVERIFY(!f.program().ProgramSaved);
    }

    void saveAsCancelledSaysNothing() {
        Fixture f;
        f.t.dialogs.chooseNextFile(QString());
        f.trigger("f_SaveAS");
        QVERIFY(f.t.prompts.messages().isEmpty());
        QVERIFY(!f.program().ProgramSaved);
        QVERIFY(f.program().CurrentFileName.isEmpty());
        QVERIFY(!f.t.session.dialog.CancelError);
    }

    // A save that cannot be made says why, keeps the old file and the program unsaved.
    void failedSavesKeepTheOldFile_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("error");
        QTest::newRow("Save As into a missing directory") << "f_SaveAS"
                                                          << "missing/plan"
                                                          << "ERROR  76\n";
        QTest::newRow("Save As over a directory") << "f_SaveAS"
                                                  << "FOLDER.CAM"
                                                  << "ERROR  75\n";
        QTest::newRow("Save on a full disk") << "f_Save"
                                             << ""
                                             << "ERROR  61\n";
    }
    void failedSavesKeepTheOldFile() {
        QFETCH(QString, entry);
        QFETCH(QString, target);
        QFETCH(QString, error);
        Fixture f;
        QVERIFY(QDir(f.t.dir.path()).mkdir(QStringLiteral("FOLDER.CAM")));
        const QString old = f.t.path(QStringLiteral("OLD.CAM"));
        QVERIFY(writeBytes(old, "the old file\r\n"));
        f.program().CurrentFileName = old;
        const QString title = f.window.windowTitle();
        if (!target.isEmpty())
            f.t.dialogs.chooseNextFile(f.t.path(target));
        if (target == QStringLiteral("FOLDER.CAM"))
            f.t.prompts.expectMessage(QStringLiteral("T108") + f.t.path(target),
                                      Prompts::Answer::Yes);
        f.t.prompts.expectMessageContaining(error);
        {
            FileSizeLimit limit(target.isEmpty() ? 32 : RLIM_INFINITY);
            f.trigger(entry.toLatin1().constData());
        }
        QVERIFY2(f.allShown(), qPrintable(f.t.prompts.problems()));
        QVERIFY(f.t.prompts.messages().last().text.startsWith(error));
        QVERIFY(!f.program().ProgramSaved);
        QCOMPARE(f.program().CurrentFileName, old);
        QCOMPARE(contents(old), QByteArray("the old file\r\n"));
        QCOMPARE(f.window.windowTitle(), title);
        QCOMPARE(QDir(f.t.dir.path()).entryList(QDir::Files), QStringList{"OLD.CAM"});
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
