#include "app/AppWindow.h"
#include "dialogs/gui/WindowGeometry.h"
#include "link/LineProtocol.h"
#include "shell/gui/AboutWindow.h"
#include "support/FakeController.h"
#include "support/TestSession.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
// A port that opens but whose controller is not ready: start-up skips the identification
// without a message, as on a desk with the controller switched off.
struct ControllerOff {
    FakeClock lineClock;
    FakeController line{lineClock};
    ControllerOff() { line.setCts(false); }
};

struct ShellSession : ControllerOff, TestSession {
    ShellSession() : TestSession(&line) { session.link.state.DeviceOverride = dir.path(); }
};

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A script whose text n reads prefix + n, an older one without the window's own words
// (139..339): those come from the English script.
QByteArray numberedScript(const QByteArray& prefix) {
    QByteArray bytes = "TEST SCRIPT\r\n";
    for (int n = 2; n <= 500; ++n)
        bytes += n >= 139 && n <= 339 ? QByteArray("\"\"\r\n")
                                      : "\"" + prefix + QByteArray::number(n) + "\"\r\n";
    return bytes + "\r\n";
}

// A working directory whose options file names the script LANG.SCR, texts "T<n>".
void prepareWorkDir(ShellSession& s, const QByteArray& options = "\"LANG.SCR\",1,\"9600\"\r\n") {
    writeBytes(s.path("LANG.SCR"), numberedScript("T"));
    writeBytes(s.path("q517_opt.def"), options);
}

void activate(QWidget& window) {
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

struct Entry {
    QString name; // "-" for a separator without a name
    QString caption;
    QString shortcut;
    bool separator;
};
using Entries = QList<Entry>;
} // namespace

Q_DECLARE_METATYPE(Entries)

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void menuBar() {
        ShellSession s;
        AppWindow window(s.session);
        QCOMPARE(window.objectName(), QStringLiteral("MAIN"));
        QCOMPARE(window.windowTitle(), QStringLiteral("T33"));
        QStringList names, captions;
        for (QAction* a : window.menuBar()->actions()) {
            names << (a->menu() ? a->menu()->objectName() : a->objectName());
            captions << a->text();
        }
        QCOMPARE(names, (QStringList{"F_", "S_", "Fu_", "c_", "o_", "INF"}));
        QCOMPARE(captions,
                 (QStringList{"&File", "&Sizes", "Fu&nctions", "C&omm", "O&ptions", "&Info"}));
        QVERIFY(!window.actions().INF->menu());
    }

    void menuEntries_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<Entries>("entries");
        const auto e = [](const char* name, const char* caption, const char* shortcut = "") {
            return Entry{name, caption, shortcut, false};
        };
        const Entry sep{"-", "", "", true};
        QTest::newRow("File") << "F_"
                              << Entries{e("f_New", "&New"),
                                         e("f_Open", "&Open"),
                                         e("f_Save", "&Save", "F9"),
                                         e("f_SaveAS", "Save &As", "Ctrl+A"),
                                         e("f_Compare", "Compare with &File..."),
                                         sep,
                                         e("Sel_prg", "Select P&rogrammer", "Ctrl+R"),
                                         sep,
                                         e("f_SelPr", "Se&lect Printer"),
                                         e("Pr_Size", "&Print", "Ctrl+P"),
                                         Entry{"F_Mnu_oldF", "", "", true},
                                         sep,
                                         e("f_Exit", "&Exit", "Ctrl+X")};
        QTest::newRow("Sizes")
            << "S_"
            << Entries{e("S_Sel", "Se&lect Size", "Ctrl+L"), e("S_Cop", "&Copy Size", "Ctrl+C"),
                       e("s_Clr", "&Erase Size", "Ctrl+E"),  sep,
                       e("S_Imp", "&Import Size", "Ctrl+M"), sep,
                       e("O_CopyC", "Cop&y Cam", "Ctrl+Y"),  e("O_Shc", "S&hift Cam", "Ctrl+H"),
                       e("O_ClC", "E&rase Cam", "Del"),      e("o_MODC", "&Modify Cam", "Ctrl+Ins"),
                       e("o_Undo", "&Undo", "Ctrl+Z"),       e("o_Redo", "&Redo", "Ctrl+Shift+Z")};
        QTest::newRow("Functions")
            << "Fu_"
            << Entries{e("Fu_Set", "Function &Parameters..."),
                       e("Fu_Timing", "&Timing at Speed...", "Ctrl+T")};
        QTest::newRow("Comm") << "c_"
                              << Entries{e("C_Trsz", "Transmit Sizes", "Shift+F5"),
                                         e("c_Rcsz", "Receive Sizes", "Shift+F4"),
                                         e("C_Compare", "Compare with Controller"), sep,
                                         e("Upd_Flash", "Update FLASH", "Ctrl+U")};
        QTest::newRow("Options") << "o_"
                                 << Entries{e("o_SetPort", "Set &Commport"),
                                            e("o_Setlng", "Set &Language"), sep,
                                            e("o_Verify", "&Verify after Transmit")};
    }
    void menuEntries() {
        QFETCH(QString, menu);
        QFETCH(Entries, entries);
        ShellSession s;
        AppWindow window(s.session);
        QMenu* m = window.menu(menu);
        QVERIFY(m);
        const QList<QAction*> actions = m->actions();
        QCOMPARE(actions.size(), entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            const Entry& want = entries.at(i);
            QAction* a = actions.at(i);
            const QByteArray where = (menu + " entry " + QString::number(i + 1)).toUtf8();
            QVERIFY2(a->isSeparator() == want.separator, where.constData());
            if (want.name != "-") {
                QVERIFY2(a->objectName() == want.name, where.constData());
                QVERIFY2(window.findChild<QAction*>(want.name) == a, where.constData());
            }
            if (!want.separator) {
                QVERIFY2(a->text() == want.caption, where.constData());
                QVERIFY2(a->shortcut().toString() == want.shortcut, where.constData());
                // Only Undo and Redo wait for something to take back or put again.
                QVERIFY2(a->isEnabled() == (want.name != "o_Undo" && want.name != "o_Redo"),
                         where.constData());
            }
        }
    }

    void openingAMenuClosesTheEntryFields() {
        ShellSession s;
        AppWindow window(s.session);
        QSignalSpy hide(&window.host(), &WindowHost::hideEditorsRequested);
        for (const char* name : {"F_", "S_", "c_", "o_"}) {
            const int before = int(hide.count());
            emit window.menu(name)->aboutToShow();
            QVERIFY2(hide.count() == before + 1, name);
        }
    }

    void toolbarTooltipsComeFromTheTexts() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        QToolBar* bar = window.findChild<QToolBar*>();
        QVERIFY(bar);
        QStringList names, tips;
        for (QAction* a : bar->actions()) {
            names << a->objectName();
            tips << a->toolTip();
        }
        QCOMPARE(names,
                 (QStringList{"Sel_Form", "Sv_Fil", "OP_FIL", "New_Fil", "GoPrCam", "Azz_Form"}));
        QCOMPARE(tips, (QStringList{"T123", "T129", "T128", "T127", "T121", "T122"}));
    }

    void startUpReadsOptionsAndSetsTheModel() {
        ShellSession s;
        prepareWorkDir(s, "\"LANG.SCR\",3,\"19200\"\r\n/plans/A.CAM\r\n/plans/B.CAM\r\n");
        CamProgram& p = s.session.program;
        p.Reconfigure(8, 89, true);
        p.CurrentCam = 5;
        p.ProgramSaved = false;
        p.WriteDegree(1, 1, 10, 1);
        s.session.edit.enterPhase(3, 4);
        AppWindow window(s.session);
        QSignalSpy texts(&window.host(), &WindowHost::textsChanged);
        QVERIFY(window.startUp());
        QCOMPARE(texts.count(), 1);
        QCOMPARE(int(s.session.options.PortNumber), 3);
        QCOMPARE(s.session.options.BaudRate, QStringLiteral("19200"));
        QCOMPARE(s.session.Text(2), QStringLiteral("T2"));
        QCOMPARE(p.CamCount(), 24);
        QCOMPARE(p.FormatCount(), 6);
        QCOMPARE(p.CurrentCam, 1);
        QCOMPARE(p.CurrentFormat, 1);
        QVERIFY(p.ProgramSaved);
        QCOMPARE(int(p.ReadDegree(1, 1, 10)), 0);
        QVERIFY(!s.session.edit.canUndo());
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 24);
        const QList<QAction*> recent = window.menu("F_")->actions();
        QVERIFY(std::any_of(recent.begin(), recent.end(),
                            [](QAction* a) { return a->text() == "&2 /plans/B.CAM"; }));
        QVERIFY(s.prompts.messages().isEmpty());
    }

    void startUpTakesTheConnectedControllersType() {
        ShellSession s;
        prepareWorkDir(s);
        s.line.setCts(true);
        s.line.when("?M8C\r", FakeController::bytes("08 89 517 CAM SWITCH ITALY-CTRL-0042\r"));
        s.line.when("?T93\r", FakeController::bytes("AVR_M1280-V2.50 Q517\r"));
        CamProgram& p = s.session.program;
        p.Parameters.CamAdvance[0] = 9;
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        QVERIFY(s.prompts.messages().isEmpty());
        QCOMPARE(s.line.receivedCount("?M8C\r"), 1);
        QCOMPARE(p.CamCount(), 8);
        QCOMPARE(p.FormatCount(), 89);
        QCOMPARE(int(p.Parameters.CamAdvance.size()), 8);
        QCOMPARE(int(p.Parameters.CamAdvance[0]), 0);
        QCOMPARE(p.ListPhases(89, 8).size(), std::size_t(0));
        QCOMPARE(window.programTitle(), QStringLiteral("T33 C 8 - 89"));
    }

    // The status bar names a controller only once it has told one of the six types.
    void statusBarController_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("cts");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("identified")
            << QByteArray("08 89 517 CAM SWITCH ITALY-CTRL-0042\r") << true << ""
            << "C8-89 ready";
        QTest::newRow("not a controller") << QByteArray("OK\r") << true << ""
                                          << "no controller";
        QTest::newRow("bad pair") << QByteArray("24 10 517 CAM SWITCH ITALY-CTRL-0042\r") << true
                                  << "BAD comm"
                                  << "no controller";
        QTest::newRow("switched off") << QByteArray() << false << ""
                                      << "no controller";
    }
    void statusBarController() {
        QFETCH(QByteArray, reply);
        QFETCH(bool, cts);
        QFETCH(QString, message);
        QFETCH(QString, shown);
        ShellSession s;
        prepareWorkDir(s);
        s.line.setCts(cts);
        s.line.when("?M8C\r", FakeController::bytes(reply));
        s.line.when("?T93\r", FakeController::bytes("AVR_M1280-V2.50 Q517\r"));
        // The message first, then where and why.
        if (!message.isEmpty())
            s.prompts.expectMessageContaining(message + QLatin1Char('\n'));
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("StController"))->text(), shown);
    }

    // The controller shown is the one on the device the port names now, while that device is
    // there and its line holds: each change shows "no controller" at the next refresh.
    void statusBarForgetsTheController_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("another port") << "another port";
        QTest::newRow("unplugged") << "unplugged";
        QTest::newRow("hung up") << "hung up";
    }
    void statusBarForgetsTheController() {
        QFETCH(QString, change);
        ShellSession s;
        prepareWorkDir(s);
        const QString tty = s.path("tty");
        writeBytes(tty, QByteArray());
        s.session.link.state.DeviceOverride = tty;
        s.line.setCts(true);
        s.line.when("?M8C\r", FakeController::bytes("08 89 517 CAM SWITCH ITALY-CTRL-0042\r"));
        s.line.when("?T93\r", FakeController::bytes("AVR_M1280-V2.50 Q517\r"));
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        QLabel* shown = window.findChild<QLabel*>(QStringLiteral("StController"));
        QCOMPARE(shown->text(), QStringLiteral("C8-89 ready"));
        if (change == QLatin1String("another port")) {
            writeBytes(s.path("tty2"), QByteArray());
            s.session.link.state.DeviceOverride = s.path("tty2");
        } else if (change == QLatin1String("unplugged")) {
            QVERIFY(QFile::remove(tty));
        } else {
            // The next exchange on the line finds it hung up.
            s.line.hangUp(QStringLiteral("the line hung up"));
            QByteArray question("?X");
            QCOMPARE(SerialComStr(s.session.linkContext(), question), QByteArray());
        }
        window.refreshStatus();
        QCOMPARE(shown->text(), QStringLiteral("no controller"));
    }

    void startUpWithoutOptionsFileWarnsAndTakesDefaults() {
        ShellSession s;
        // The default script comes from the program's data folder.
        s.prompts.expectMessage("FILE 'Q517_OPT.DEF' NOT FOUND!!!\n SET OPTIONS");
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        QVERIFY(s.prompts.allShown());
        QCOMPARE(s.session.options.LanguageFile, QStringLiteral("q517_IT.SCR"));
        QVERIFY(!s.session.Text(33).isEmpty());
    }

    void missingScriptAtStartUp_data() {
        QTest::addColumn<QByteArray>("named");    // what the named script holds; "-": not there
        QTest::addColumn<QStringList>("choices"); // file chosen after each Retry ("" cancels)
        QTest::addColumn<bool>("started");
        QTest::newRow("Cancel ends the start-up") << QByteArray("-") << QStringList{} << false;
        QTest::newRow("Retry and a script") << QByteArray("-") << QStringList{"LANG.SCR"} << true;
        QTest::newRow("Retry, dialog cancelled, then Cancel")
            << QByteArray("-") << QStringList{""} << false;
        QTest::newRow("Retry, missing file, Retry and a script")
            << QByteArray("-") << QStringList{"NONE.SCR", "LANG.SCR"} << true;
        // A file that is no script would give a garbage title: refused as a missing one.
        QTest::newRow("an empty script") << QByteArray("") << QStringList{"LANG.SCR"} << true;
        QTest::newRow("a binary script") << QByteArray("\x7f"
                                                       "ELF\0\0\r\n")
                                         << QStringList{} << false;
        QTest::newRow("Retry, a file that is no script, Retry and a script")
            << QByteArray("-") << QStringList{"NONE.SCR", "BAD.SCR", "LANG.SCR"} << true;
    }
    void missingScriptAtStartUp() {
        QFETCH(QByteArray, named);
        QFETCH(QStringList, choices);
        QFETCH(bool, started);
        ShellSession s;
        prepareWorkDir(s, "\"GONE.SCR\",2,\"9600\"\r\n");
        if (named != "-")
            writeBytes(s.path("GONE.SCR"), named);
        writeBytes(s.path("BAD.SCR"), "FUNZIONI 24-06\r\n");
        const QString message = " FILE '\"GONE.SCR\"' IS NOT AVAILABLE";
        for (const QString& choice : choices) {
            s.prompts.expectMessageContaining(message, Prompts::Answer::Retry);
            s.dialogs.chooseNextFile(choice.isEmpty() ? QString() : s.path(choice));
            if (choice == "NONE.SCR")
                s.prompts.expectMessage("FILE ERROR");
            if (choice == "BAD.SCR")
                s.prompts.expectMessage(
                    "FILE ERROR\n" + s.path(choice) +
                    ": 0 texts, fewer than the 138 every script has");
        }
        if (!started)
            s.prompts.expectMessageContaining(message, Prompts::Answer::Cancel);
        AppWindow window(s.session);
        QCOMPARE(window.startUp(), started);
        QVERIFY2(s.prompts.allShown(), qPrintable(s.prompts.problems()));
        QVERIFY(!s.dialogs.pending());
        const auto& first = s.prompts.messages().first();
        QCOMPARE(first.title, QStringLiteral("UNRECOV. DEF.FILE ERROR"));
        QCOMPARE(first.buttons, Prompts::Buttons::RetryCancel);
        QCOMPARE(first.icon, Prompts::Icon::Critical);
        if (started) {
            QCOMPARE(s.session.options.LanguageFile, s.path("LANG.SCR"));
            QCOMPARE(s.session.Text(33), QStringLiteral("T33"));
            QVERIFY(
                readBytes(s.path("q517_opt.def")).startsWith("\"" + s.path("LANG.SCR").toUtf8()));
        } else {
            QCOMPARE(s.session.options.LanguageFile, QStringLiteral("GONE.SCR"));
            QCOMPARE(readBytes(s.path("q517_opt.def")), QByteArray("\"GONE.SCR\",2,\"9600\"\r\n"));
        }
    }

    void setLanguage_data() {
        QTest::addColumn<QString>("chosen"); // "" cancels the dialog
        QTest::addColumn<bool>("exists");
        QTest::newRow("another script") << "OTHER.SCR" << true;
        QTest::newRow("file that does not exist") << "NONE.SCR" << false;
        QTest::newRow("dialog cancelled") << "" << false;
    }
    void setLanguage() {
        QFETCH(QString, chosen);
        QFETCH(bool, exists);
        ShellSession s;
        prepareWorkDir(s, "\"LANG.SCR\",4,\"2400\"\r\n/plans/A.CAM\r\n");
        writeBytes(s.path("OTHER.SCR"), numberedScript("E"));
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        CamProgram& p = s.session.program;
        p.Reconfigure(16, 44, false);
        p.WriteDegree(3, 2, 100, 1);
        p.ProgramSaved = false;
        const QByteArray optionsBefore = readBytes(s.path("q517_opt.def"));
        s.dialogs.chooseNextFile(chosen.isEmpty() ? QString() : s.path(chosen));
        if (!chosen.isEmpty() && !exists)
            s.prompts.expectMessage("FILE ERROR");
        // A previous caller may have left CancelError set: a cancel here must not raise.
        s.dialog.CancelError = true;
        QSignalSpy texts(&window.host(), &WindowHost::textsChanged);
        window.actions().o_Setlng->trigger();
        QVERIFY2(s.prompts.allShown(), qPrintable(s.prompts.problems()));
        QCOMPARE(s.dialogs.titles, QStringList{"SELECT LANGUAGE"});
        QCOMPARE(s.dialogs.filters,
                 QStringList{"Language scripts (*.SCR)|*.SCR;*.scr|T73(*.*)|*.*"});
        if (exists) {
            QCOMPARE(s.session.options.LanguageFile, s.path("OTHER.SCR"));
            QCOMPARE(s.session.Text(2), QStringLiteral("E2"));
            QCOMPARE(window.actions().Sv_Fil->toolTip(), QStringLiteral("E129"));
            QCOMPARE(texts.count(), 1);
            QCOMPARE(readBytes(s.path("q517_opt.def")),
                     "\"" + s.path("OTHER.SCR").toUtf8() + "\",4,\"2400\"\r\n/plans/A.CAM\r\n");
        } else {
            QCOMPARE(s.session.options.LanguageFile, QStringLiteral("LANG.SCR"));
            QCOMPARE(s.session.Text(2), QStringLiteral("T2"));
            QCOMPARE(texts.count(), 0);
            QCOMPARE(readBytes(s.path("q517_opt.def")), optionsBefore);
        }
        // The program, its counts and the recent files are never touched.
        QCOMPARE(p.CamCount(), 16);
        QCOMPARE(int(p.ReadDegree(3, 2, 100)), 1);
        QVERIFY(!p.ProgramSaved);
        QCOMPARE(s.session.options.RecentFiles, QStringList{"/plans/A.CAM"});
    }

    void recentFileEntries() {
        ShellSession s;
        AppWindow window(s.session);
        s.session.options.RecentFiles = QStringList{"/plans/LINE2.CAM", "/plans/a b.CAM"};
        window.refreshRecentFiles();
        const QList<QAction*> actions = window.menu("F_")->actions();
        const qsizetype at = actions.indexOf(window.findChild<QAction*>("F_Mnu_oldF"));
        QVERIFY(at > 0);
        QVERIFY(actions.at(at)->isVisible());
        QCOMPARE(actions.at(at + 1)->text(), QStringLiteral("&1 /plans/LINE2.CAM"));
        QCOMPARE(actions.at(at + 2)->text(), QStringLiteral("&2 /plans/a b.CAM"));
        QVERIFY(actions.at(at + 3)->isSeparator());
        QCOMPARE(actions.at(at + 4)->objectName(), QStringLiteral("f_Exit"));
        for (int i = 1; i <= 2; ++i) {
            QVERIFY(actions.at(at + i)->isEnabled());
            QVERIFY(!actions.at(at + i)->isChecked());
        }
        QSignalSpy chosen(&window.host(), &WindowHost::recentFileChosen);
        actions.at(at + 2)->trigger();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.first().first().toString(), QStringLiteral("/plans/a b.CAM"));

        // Rebuilding replaces the entries instead of adding to them.
        s.session.options.AddRecentFile("/plans/NEW.CAM");
        window.refreshRecentFiles();
        QStringList captions;
        for (QAction* a : window.menu("F_")->actions()) {
            if (a->text().startsWith('&') && a->text().at(1).isDigit())
                captions << a->text();
        }
        QCOMPARE(captions,
                 (QStringList{"&1 /plans/NEW.CAM", "&2 /plans/LINE2.CAM", "&3 /plans/a b.CAM"}));
        s.session.options.RecentFiles.clear();
        window.refreshRecentFiles();
        QCOMPARE(window.menu("F_")->actions().size(), 13);
    }

    void titleAfterActivation_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QString>("title");
        QTest::newRow("24-6") << 24 << 6 << "T33 C 24 - 6";
        QTest::newRow("8-89") << 8 << 89 << "T33 C 8 - 89";
        QTest::newRow("16-10") << 16 << 10 << "T33 C 16 - 10";
    }
    void titleAfterActivation() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QString, title);
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        s.session.program.Reconfigure(cams, formats, false);
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        window.show();
        activate(window);
        QCOMPARE(window.windowTitle(), title);
        QVERIFY(redraws.count() >= 1);
        QVERIFY(window.windowState() & Qt::WindowMaximized);

        // After Save As the title names the file until the main window is activated again.
        window.showTitleWithFile("/plans/LINE2.CAM");
        QCOMPARE(window.windowTitle(), title + "  [/plans/LINE2.CAM]");
        QWidget other;
        other.show();
        activate(other);
        activate(window);
        QCOMPARE(window.windowTitle(), title);
    }

    void scaledOnceOnActivation() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        auto* panel = new QWidget;
        auto* label = new QLabel("C 01", panel);
        label->setGeometry(20, 40, 100, 30);
        QFont font = label->font();
        font.setPointSizeF(10);
        label->setFont(font);
        window.setCentralWidget(panel);
        QVERIFY(window.startUp());
        QCOMPARE(window.windowScale(), 0.0);
        // 969 pixels are 1.5 times the 9690 twips the window was drawn for.
        window.resize(969, 400);
        window.show();
        activate(window);
        QCOMPARE(window.windowScale(), 1.5);
        QCOMPARE(label->geometry(), QRect(30, 60, 150, 45));
        QCOMPARE(label->font().pointSizeF(), 15.0);
        QWidget other;
        other.show();
        activate(other);
        window.resize(1300, 400);
        activate(window);
        QCOMPARE(window.windowScale(), 1.5);
        QCOMPARE(label->geometry(), QRect(30, 60, 150, 45));
        QCOMPARE(label->font().pointSizeF(), 15.0);
    }

    // 1920x1080 at twice the scale leaves 960x540: scaled by the width alone, the lowest
    // control (the cam name field, hidden until used) would fall below the status bar.
    void scaledToFitTheHeight() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        auto* panel = new QWidget;
        auto* name = new QLabel(panel);
        name->setGeometry(20, 336, 200, 21);
        name->hide();
        window.setCentralWidget(panel);
        QVERIFY(window.startUp());
        window.resize(960, 540);
        window.show();
        // The room the window had when it was scaled (it is maximized right after).
        const int room = panel->height();
        activate(window);
        QVERIFY(window.windowScale() > 1.0);
        QVERIFY2(name->geometry().bottom() < room,
                 qPrintable(QStringLiteral("name field ends at %1 of %2")
                                .arg(name->geometry().bottom())
                                .arg(room)));
    }

    // A window manager would grow a window that is not maximized to this width, and the editor's
    // rows would go off screen.
    void longResultKeepsTheWindowWidth() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int width = window.minimumSizeHint().width();
        window.showResult(QStringLiteral("PDF written: ") + QString(400, QLatin1Char('x')));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(window.minimumSizeHint().width(), width);
    }

    void notScaledWhenNotWider() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        auto* panel = new QWidget;
        auto* label = new QLabel("C 01", panel);
        label->setGeometry(20, 40, 100, 30);
        window.setCentralWidget(panel);
        QVERIFY(window.startUp());
        window.setWindowState(Qt::WindowNoState);
        window.resize(646, 400);
        window.show();
        window.setWindowState(Qt::WindowNoState);
        window.resize(646, 400);
        // Activation maximizes the window only after deciding on the scale.
        activate(window);
        QCOMPARE(window.windowScale(), 0.0);
        QCOMPARE(label->geometry(), QRect(20, 40, 100, 30));
    }

    void closeWithUnsavedWork_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("No keeps the window") << int(Prompts::Answer::No) << false;
        QTest::newRow("Yes closes") << int(Prompts::Answer::Yes) << true;
    }
    void closeWithUnsavedWork() {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        window.show();
        CamProgram& p = s.session.program;
        p.WriteDegree(2, 3, 45, 1);
        p.ProgramSaved = false;
        s.session.options.PortNumber = 5;
        s.session.options.AddRecentFile("/plans/LINE2.CAM");
        writeBytes(s.path("_._"), "scratch");
        const QString title = window.windowTitle();
        s.prompts.expectMessage("T110", Prompts::Answer(answer));
        QCOMPARE(window.close(), closes);
        QVERIFY(s.prompts.allShown());
        const auto& asked = s.prompts.messages().first();
        QCOMPARE(asked.buttons, Prompts::Buttons::YesNoDefaultNo);
        QCOMPARE(asked.icon, Prompts::Icon::Warning);
        QCOMPARE(asked.title, title);
        QCOMPARE(window.isVisible(), !closes);
        // The options file is written before the question, whatever the answer.
        QCOMPARE(readBytes(s.path("q517_opt.def")),
                 QByteArray("\"LANG.SCR\",5,\"9600\"\r\n/plans/LINE2.CAM\r\n"));
        QCOMPARE(QFile::exists(s.path("_._")), !closes);
        QCOMPARE(int(p.ReadDegree(2, 3, 45)), 1);
        QCOMPARE(p.ProgramSaved, false);
    }

    void closeWhenSavedAsksNothing() {
        ShellSession s;
        prepareWorkDir(s);
        AppWindow window(s.session);
        QVERIFY(window.startUp());
        window.show();
        writeBytes(s.path("_._"), "scratch");
        QFile::remove(s.path("q517_opt.def"));
        window.actions().f_Exit->trigger();
        QVERIFY(!window.isVisible());
        QVERIFY(s.prompts.messages().isEmpty());
        QVERIFY(!QFile::exists(s.path("_._")));
        QCOMPARE(readBytes(s.path("Q517_opt.def")), QByteArray("\"LANG.SCR\",1,\"9600\"\r\n"));
    }

    void scaleWindowScalesEveryPlacedControl() {
        QWidget window;
        window.resize(400, 300);
        auto* button = new QPushButton("OK", &window);
        button->setGeometry(10, 20, 100, 30);
        QFont font = button->font();
        font.setPointSizeF(8);
        button->setFont(font);
        auto* frame = new QWidget(&window);
        frame->setGeometry(100, 100, 200, 100);
        font.setPointSizeF(10);
        frame->setFont(font);
        auto* inner = new QLabel("inner", frame); // inherits the frame's font
        inner->setGeometry(4, 6, 50, 20);
        auto* hidden = new QLabel("shown by scaling", &window);
        hidden->setGeometry(0, 0, 10, 10);
        hidden->hide();
        auto* field = new QLabel("entry field", &window);
        field->setGeometry(2, 2, 20, 10);
        field->setProperty(WindowGeometry::HiddenAtStart, true);
        field->hide();
        auto* laidOut = new QWidget(&window);
        laidOut->setGeometry(0, 200, 100, 100);
        auto* layout = new QVBoxLayout(laidOut);
        auto* managed = new QLabel("managed", laidOut);
        layout->addWidget(managed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect managedBefore = managed->geometry();

        WindowGeometry::ScaleWindow(&window, 1.5, true);
        QCOMPARE(button->geometry(), QRect(15, 30, 150, 45));
        QCOMPARE(button->font().pointSizeF(), 12.0);
        QCOMPARE(frame->geometry(), QRect(150, 150, 300, 150));
        QCOMPARE(frame->font().pointSizeF(), 15.0);
        QCOMPARE(inner->geometry(), QRect(6, 9, 75, 30));
        QCOMPARE(inner->font().pointSizeF(), 15.0); // not scaled a second time
        QVERIFY(hidden->isVisible());
        QVERIFY(!field->isVisible());
        QCOMPARE(field->geometry(), QRect(3, 3, 30, 15));
        QCOMPARE(laidOut->geometry(), QRect(0, 300, 150, 150));
        QCOMPARE(managed->font().pointSizeF(), laidOut->font().pointSizeF());
        Q_UNUSED(managedBefore);
    }

    void scaleWindowWithoutMakeVisibleLeavesHiddenControls() {
        QWidget window;
        auto* hidden = new QLabel("x", &window);
        hidden->setGeometry(10, 10, 10, 10);
        hidden->hide();
        window.show();
        WindowGeometry::ScaleWindow(&window, 2.0, false);
        QCOMPARE(hidden->geometry(), QRect(20, 20, 20, 20));
        QVERIFY(!hidden->isVisible());
    }

    void centerWindow() {
        QWidget window;
        window.resize(200, 100);
        WindowGeometry::CenterWindow(&window);
        const QRect screen = window.screen()->geometry();
        QCOMPARE(window.pos(), QPoint(screen.x() + (screen.width() - 200) / 2,
                                      screen.y() + (screen.height() - 100) / 2));
    }

    void aboutWindow() {
        // In Italian it reads as it always has.
        LanguageTexts italian;
        QVERIFY(italian.LoadLanguage(DataPaths::Find(QStringLiteral("q517_IT.SCR"), QString())));
        AboutWindow about(italian);
        QCOMPARE(about.objectName(), QStringLiteral("INTESTA"));
        QCOMPARE(about.windowTitle(), QStringLiteral("CAMS PROGRAMMER INTERFACE"));
        QVERIFY(about.isModal());
        auto* ok = about.findChild<QPushButton*>("T_OK");
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("&Ok"));
        QStringList labels;
        for (QLabel* l : about.findChildren<QLabel*>())
            labels << l->text();
        QVERIFY(labels.contains("VERSIONE 2.5"));
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(ok->isVisible());
        // A frame as narrow as the picture cuts the title.
        QVERIFY(about.width() > QFontMetrics(about.font()).horizontalAdvance(about.windowTitle()));
        const QRect screen = about.screen()->geometry();
        QCOMPARE(about.pos(), QPoint(screen.x() + (screen.width() - about.width()) / 2,
                                     screen.y() + (screen.height() - about.height()) / 2));
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
