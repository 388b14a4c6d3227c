#include "app/AppWindow.h"
#include "link/gui/ProgrammerTypeWindow.h"
#include "support/EnglishTexts.h"
#include "support/FakeController.h"
#include "support/TestSession.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {
// "?M" reply: counts at 1-2 and 4-5, "ITALY" at 22, the identification at 28-36.
QByteArray identReply(const QByteArray& counts) {
    return counts + "   Q517 SIM     ITALY-SIMC08-89\r";
}
} // namespace

class TestProgrammerTypeWindow : public QObject {
    Q_OBJECT

    // A session whose line is a scripted controller on an existing device.
    struct Rig {
        TestSession t;
        FakeController controller{t.clock};
        Session session{t.prompts, t.clock, t.dialog, controller, t.dir.path()};
        const bool inEnglish = SpeakEnglish(session);
        Rig(int cams, int formats) {
            session.texts = t.session.texts;
            const QString device = t.dir.filePath(QStringLiteral("tty"));
            QFile f(device);
            f.open(QIODevice::WriteOnly);
            session.link.state.DeviceOverride = device;
            session.program.Reconfigure(cams, formats, false);
        }
        FakePrompts& prompts() { return t.prompts; }
    };

    static QRadioButton* choice(QWidget& w, const char* name) {
        return w.findChild<QRadioButton*>(QString::fromLatin1(name));
    }

private slots:
    void opening_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QString>("camChoice");
        QTest::addColumn<QString>("formatChoice");
        QTest::addColumn<QString>("firstLabel");
        QTest::addColumn<QString>("secondLabel");
        QTest::newRow("24/28") << 24 << 28 << "O_Selc2"
                               << "O_SELF1"
                               << "06 T6"
                               << "28 T6";
        QTest::newRow("24/6") << 24 << 6 << "O_Selc2"
                              << "O_SELF0"
                              << "06 T6"
                              << "28 T6";
        QTest::newRow("16/44") << 16 << 44 << "O_Selc1"
                               << "O_SELF1"
                               << "10 T6"
                               << "44 T6";
        QTest::newRow("8/21") << 8 << 21 << "O_Selc0"
                              << "O_SELF0"
                              << "21 T6"
                              << "89 T6";
    }
    void opening() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QString, camChoice);
        QFETCH(QString, formatChoice);
        QFETCH(QString, firstLabel);
        QFETCH(QString, secondLabel);
        Rig rig(cams, formats);
        ProgrammerTypeWindow window(rig.session);
        QCOMPARE(window.windowTitle(), QStringLiteral("T7"));
        QVERIFY(window.findChild<QRadioButton*>(camChoice)->isChecked());
        QVERIFY(window.findChild<QRadioButton*>(formatChoice)->isChecked());
        QCOMPARE(choice(window, "O_SELF0")->text(), firstLabel);
        QCOMPARE(choice(window, "O_SELF1")->text(), secondLabel);
        QCOMPARE(choice(window, "O_Selc0")->text(), QStringLiteral("08 T5"));
        QCOMPARE(choice(window, "O_Selc2")->text(), QStringLiteral("24 T5"));
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("K_AUTSEL"))->text(),
                 QStringLiteral("T138"));
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("DefPrg"))->isVisibleTo(&window));
    }

    void camChoiceKeepsFormatPosition_data() {
        QTest::addColumn<int>("formats"); // with 24 cams
        QTest::addColumn<QString>("camChoice");
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("expectedFormats");
        QTest::newRow("28 then 16 cams") << 28 << "O_Selc1" << 16 << 44;
        QTest::newRow("06 then 16 cams") << 6 << "O_Selc1" << 16 << 10;
        QTest::newRow("28 then 8 cams") << 28 << "O_Selc0" << 8 << 89;
        QTest::newRow("06 then 8 cams") << 6 << "O_Selc0" << 8 << 21;
    }
    void camChoiceKeepsFormatPosition() {
        QFETCH(int, formats);
        QFETCH(QString, camChoice);
        QFETCH(int, cams);
        QFETCH(int, expectedFormats);
        Rig rig(24, formats);
        ProgrammerTypeWindow window(rig.session);
        window.findChild<QRadioButton*>(camChoice)->click();
        QCOMPARE(window.chosenCamCount(), cams);
        QCOMPARE(window.chosenFormatCount(), expectedFormats);
        // The window never touches the program itself.
        QCOMPARE(rig.session.program.CamCount(), 24);
        QCOMPARE(rig.session.program.FormatCount(), formats);
        choice(window, "O_SELF0")->click();
        QCOMPARE(window.chosenFormatCount(), CamProgram::SmallFormatCount(cams));
    }

    void closing_data() {
        QTest::addColumn<bool>("change");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("answer"); // -1: no question expected
        QTest::addColumn<bool>("typeChanged");
        QTest::addColumn<int>("cams");
        using A = Prompts::Answer;
        QTest::newRow("no change") << false << false << -1 << false << 24;
        QTest::newRow("change, saved") << true << true << -1 << true << 8;
        QTest::newRow("change, unsaved, Yes") << true << false << int(A::Yes) << true << 8;
        QTest::newRow("change, unsaved, No restores") << true << false << int(A::No) << false << 24;
    }
    void closing() {
        QFETCH(bool, change);
        QFETCH(bool, saved);
        QFETCH(int, answer);
        QFETCH(bool, typeChanged);
        QFETCH(int, cams);
        Rig rig(24, 28);
        rig.session.program.ProgramSaved = saved;
        ProgrammerTypeWindow window(rig.session);
        if (change)
            choice(window, "O_Selc0")->click();
        if (answer >= 0)
            rig.prompts().expectMessage(QStringLiteral("T112"), Prompts::Answer(answer));
        window.findChild<QPushButton*>(QStringLiteral("K_OK"))->click();
        QCOMPARE(window.TypeChanged(), typeChanged);
        QCOMPARE(window.chosenCamCount(), cams);
        if (answer >= 0) {
            const FakePrompts::Shown& shown = rig.prompts().messages().last();
            QCOMPARE(shown.buttons, Prompts::Buttons::YesNoCancelDefaultNo);
            QCOMPARE(shown.icon, Prompts::Icon::Question);
            QCOMPARE(shown.title, QStringLiteral("T7"));
        }
    }

    void cancelKeepsWindowOpen() {
        Rig rig(24, 28);
        rig.session.program.ProgramSaved = false;
        ProgrammerTypeWindow window(rig.session);
        window.show();
        choice(window, "O_Selc1")->click();
        rig.prompts().expectMessage(QStringLiteral("T112"), Prompts::Answer::Cancel);
        window.findChild<QPushButton*>(QStringLiteral("K_OK"))->click();
        QVERIFY(window.isVisible());
        rig.prompts().expectMessage(QStringLiteral("T112"), Prompts::Answer::Yes);
        window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(window.TypeChanged());
        QCOMPARE(window.chosenFormatCount(), 44);
    }

    void presenceTest_data() {
        QTest::addColumn<bool>("cts");
        QTest::addColumn<bool>("deviceThere");
        QTest::addColumn<bool>("offered");
        QTest::newRow("controller ready") << true << true << true;
        QTest::newRow("no CTS") << false << true << false;
        QTest::newRow("no port") << true << false << false;
    }
    void presenceTest() {
        QFETCH(bool, cts);
        QFETCH(bool, deviceThere);
        QFETCH(bool, offered);
        Rig rig(24, 28);
        rig.controller.setCts(cts);
        if (!deviceThere)
            rig.session.link.state.DeviceOverride = rig.t.dir.filePath(QStringLiteral("gone"));
        ProgrammerTypeWindow window(rig.session);
        window.presenceTest();
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("K_AUTSEL"))->isVisibleTo(&window),
                 offered);
        // Silent whatever happens, and the port is closed afterwards, without handshake.
        QVERIFY(rig.prompts().messages().isEmpty());
        QVERIFY(!rig.controller.isOpen());
        QCOMPARE(rig.controller.opens(), deviceThere ? 1 : 0);
        QVERIFY(!rig.controller.hardwareFlowControl());
    }

    void automaticSelection_data() {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QByteArray>("typeReply");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QString>("result");
        QTest::newRow("8/89") << identReply("08 89") << QByteArray("SIM_C51-V2.50 X\r") << "" << 8
                              << 89 << "T120 SIMC08-89\nT11951-V2.50 - T118V2.50";
        // A pair outside the six: the window keeps the pair it had.
        QTest::newRow("bad pair") << identReply("08 44") << QByteArray("SIM_C51-V2.50\r")
                                  << "BAD comm" << 24 << 28 << "T120 SIMC08-89\nT119 - T118";
    }
    void automaticSelection() {
        QFETCH(QByteArray, reply);
        QFETCH(QByteArray, typeReply);
        QFETCH(QString, message);
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QString, result);
        Rig rig(24, 28);
        rig.controller.when("?M8C\r", FakeController::bytes(reply));
        rig.controller.when("?T93\r", FakeController::bytes(typeReply));
        // The message first, then where and why.
        if (!message.isEmpty())
            rig.prompts().expectMessageContaining(message + QLatin1Char('\n'));
        ProgrammerTypeWindow window(rig.session);
        window.automaticSelection();
        QCOMPARE(window.chosenCamCount(), cams);
        QCOMPARE(window.chosenFormatCount(), formats);
        auto* label = window.findChild<QLabel*>(QStringLiteral("DefPrg"));
        QVERIFY(label->isVisibleTo(&window));
        QCOMPARE(label->text(), result);
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("K_AUTSEL"))->isEnabled());
    }

    // Through the main window's menu entry: a new type gives an empty program of that type.
    void menuEntryResizesProgram() {
        Rig rig(24, 6);
        rig.session.program.SetPhase(1, 1, 10, 20);
        rig.session.program.CurrentFileName = QStringLiteral("OLD.CAM");
        AppWindow main(rig.session);
        bool sawWindow = false;
        QTimer::singleShot(0, this, [&] {
            auto* window = qobject_cast<ProgrammerTypeWindow*>(QApplication::activeModalWidget());
            if (!window)
                return;
            sawWindow = true;
            window->findChild<QRadioButton*>(QStringLiteral("O_Selc1"))->click();
            window->findChild<QPushButton*>(QStringLiteral("K_OK"))->click();
        });
        main.actions().Sel_prg->trigger();
        QVERIFY(sawWindow);
        QCOMPARE(rig.session.program.CamCount(), 16);
        QCOMPARE(rig.session.program.FormatCount(), 10);
        QCOMPARE(rig.session.program.ReadDegree(1, 1, 15), uint8_t(0));
        QVERIFY(rig.session.program.CurrentFileName.isEmpty());
        QVERIFY(rig.session.program.ProgramSaved);
        QVERIFY(main.windowTitle().contains(QStringLiteral("16")));

        // Opened and closed again without a change: the program stays as it is.
        rig.session.program.SetPhase(1, 2, 30, 40);
        QTimer::singleShot(0, this, [&] {
            if (auto* window = QApplication::activeModalWidget())
                window->findChild<QPushButton*>(QStringLiteral("K_OK"))->click();
        });
        main.actions().Sel_prg->trigger();
        QCOMPARE(rig.session.program.ReadDegree(1, 2, 35), uint8_t(1));
        QCOMPARE(rig.session.program.FormatCount(), 10);
    }
};

QTEST_MAIN(TestProgrammerTypeWindow)
#include "tst_programmertypewindow.moc"
