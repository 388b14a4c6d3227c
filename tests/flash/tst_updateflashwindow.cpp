#include "flash/gui/FlashCommands.h"
#include "flash/gui/FlashTextArea.h"
#include "flash/gui/UpdateFlashWindow.h"
#include "support/EnglishTexts.h"

#include "support/FakeController.h"
#include "support/FlashControllerScript.h"
#include "support/HexImages.h"
#include "support/TestSession.h"

#include "app/AppWindow.h"
#include "link/gui/DrawProgress.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
// The rows of the text area, left and top edge in pixels.
const QPoint WorkingFile(10, 15), TestedLines(140, 36), TestedBytes(340, 36), TagRow(10, 72),
    ChipErased(10, 96), TransmitRow(10, 144), SentLines(160, 144), SentBytes(320, 144),
    Address(460, 144), Elapsed(250, 180), Result(10, 220);

QString Row(const UpdateFlashWindow& window, QPoint at) {
    return window.textArea()->textAt(at.x(), at.y());
}

// The loader on the line; its port is a file that exists, the scripted controller answers.
struct Loader {
    TestSession t;
    FakeController controller{t.clock};
    Session session{t.prompts, t.clock, t.dialog, controller, t.dir.path()};
    const bool inEnglish = SpeakEnglish(session);
    FlashControllerScript loader;
    Loader() {
        session.link.state.DeviceOverride = t.path(QStringLiteral("tty"));
        QFile(session.link.state.DeviceOverride).open(QIODevice::WriteOnly);
        loader.install(controller);
    }
};
} // namespace

class TestUpdateFlashWindow : public QObject {
    Q_OBJECT
private slots:
    void windowShape();
    void indicatorAndBar();
    void goodUpdateShowsEveryRow();
    void refusalStaysUntilOk_data();
    void refusalStaysUntilOk();
    void operatorsNoClosesAtOnce();
    void changedFieldIsErasedFirst();
    void menuEntryRunsTheWindow_data();
    void menuEntryRunsTheWindow();
};

void TestUpdateFlashWindow::windowShape() {
    TestSession t;
    UpdateFlashWindow window(t.session, t.path(QStringLiteral("x.hex")));
    QCOMPARE(window.objectName(), QStringLiteral("UpdFlsh"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Update Q5-17"));
    QCOMPARE(window.size(), QSize(674, 280));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("LedConn")));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("Barra")));
    QVERIFY(window.findChild<QPushButton*>(QStringLiteral("K_OK"))->isHidden());
    QVERIFY(FlashTextArea::FixedFont(FlashTextArea::Regular11).fixedPitch());
}

void TestUpdateFlashWindow::indicatorAndBar() {
    TestSession t;
    UpdateFlashWindow window(t.session, t.path(QStringLiteral("x.hex")));
    window.show();
    auto* led = window.findChild<QWidget*>(QStringLiteral("LedConn"));
    auto* bar = window.findChild<ProgressBarWidget*>(QStringLiteral("Barra"));
    QVERIFY(led && bar);
    QVERIFY(!led->isVisible());
    QVERIFY(!bar->isVisible());
    window.readyLine(false);
    QVERIFY(led->isVisible());
    QCOMPARE(led->palette().color(QPalette::Window), QColor(255, 0, 0));
    window.readyLine(true);
    QCOMPARE(led->palette().color(QPalette::Window), QColor(0, 255, 0));
    // The check's counters leave the bar alone; the sending moves it.
    window.counted({10, 160, -1, -1, 0, -1});
    QVERIFY(!bar->isVisible());
    window.phaseBegun(ProgressObserver::Phase::Transmitting);
    window.counted({10, 160, 0x90, 40, 0, 1500});
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->percent(), 40);
    // Neither covers a text row.
    QVERIFY(led->geometry().top() > 0 && led->geometry().left() > 600);
    QVERIFY(bar->geometry().top() >= 220 + 20 && bar->geometry().bottom() < 280);
}

void TestUpdateFlashWindow::goodUpdateShowsEveryRow() {
    Loader loader;
    const QString image = loader.t.path(QStringLiteral("tagged.hex"));
    QList<QByteArray> lines = HexImages::Image(11);
    lines.insert(0, HexImages::Record(0x0600, 0, "4F21A703/15/2010"));
    QVERIFY(HexImages::Write(image, lines));
    loader.t.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::Yes);
    UpdateFlashWindow window(loader.session, image);
    window.show();
    QTRY_VERIFY(window.updated());
    QCOMPARE(
        Row(window, WorkingFile),
        QStringLiteral("WORKING FILE =\"%1\" (%2 bytes)").arg(image).arg(QFileInfo(image).size()));
    QCOMPARE(Row(window, TestedLines), QStringLiteral("13"));
    QCOMPARE(Row(window, TestedBytes), QStringLiteral("192"));
    QCOMPARE(Row(window, TagRow), QStringLiteral(" CRC Prog:  4F21A7  Date Prog: MAR 15 2010"));
    QCOMPARE(Row(window, ChipErased), QStringLiteral("CHIP ERASED"));
    QCOMPARE(Row(window, TransmitRow),
             QStringLiteral("Transmit Line:         Bytes:          Addr:"));
    QCOMPARE(Row(window, SentLines), QStringLiteral("13"));
    QCOMPARE(Row(window, SentBytes), QStringLiteral("192"));
    QCOMPARE(Row(window, Address), QStringLiteral("00000H"));
    QVERIFY(Row(window, Elapsed).startsWith(QStringLiteral("Time:00:00:")));
    QCOMPARE(Row(window, Result), QStringLiteral("DEVICE UPDATED WITH  ") + image);
    QCOMPARE(window.findChild<ProgressBarWidget*>()->percent(), 100);
    // The result stays on screen a moment before the window closes by itself.
    QVERIFY(window.isVisible());
    // Something was really painted where the result row goes.
    bool inked = false;
    for (int x = 10; x < 300 && !inked; ++x)
        inked = window.textArea()->picture().pixelColor(x, 228) != QColor(Qt::white);
    QVERIFY(inked);
}

void TestUpdateFlashWindow::refusalStaysUntilOk_data() {
    QTest::addColumn<QList<QByteArray>>("image");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("line without ':'")
        << QList<QByteArray>{HexImages::DataRecord(0, 16), "00000001FF"}
        << QStringLiteral("FILE UNUSABLE");
    QTest::newRow("empty image") << QList<QByteArray>{} << QStringLiteral("FILE UNUSABLE");
    QTest::newRow("parity error") << QList<QByteArray>{":0300300002337A1e"}
                                  << QStringLiteral("PARITY ERROR IN LINE 1");
    // A good image, but no port of that name.
    QTest::newRow("wrong port") << HexImages::Image(2) << QStringLiteral("WRONG PORT N.1");
}

void TestUpdateFlashWindow::refusalStaysUntilOk() {
    QFETCH(QList<QByteArray>, image);
    QFETCH(QString, refusal);
    TestSession t;
    t.session.link.state.DeviceOverride = t.path(QStringLiteral("no-such-tty"));
    const QString path = t.path(QStringLiteral("image.hex"));
    QVERIFY(HexImages::Write(path, image));
    UpdateFlashWindow window(t.session, path);
    window.show();
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("K_OK"));
    QTRY_VERIFY(ok->isVisible());
    QCOMPARE(Row(window, Result), refusal);
    QVERIFY(window.isVisible());
    QCOMPARE(t.prompts.busyDepth(), 0);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void TestUpdateFlashWindow::operatorsNoClosesAtOnce() {
    Loader loader;
    const QString image = loader.t.path(QStringLiteral("good.hex"));
    QVERIFY(HexImages::Write(image, HexImages::Image(2)));
    loader.t.prompts.expectMessage(QStringLiteral("UPDATE FLASH ?"), Prompts::Answer::No);
    UpdateFlashWindow window(loader.session, image);
    QCOMPARE(window.exec(), int(QDialog::Rejected));
    QVERIFY(Row(window, Result).isEmpty());
    QVERIFY(loader.controller.received().isEmpty());
}

void TestUpdateFlashWindow::changedFieldIsErasedFirst() {
    FlashTextArea area;
    area.drawText(100, 100, QStringLiteral("WWWWWW"), FlashTextArea::Bold12);
    area.drawText(100, 100, QStringLiteral("I"), FlashTextArea::Bold12);
    QCOMPARE(area.textAt(100, 100), QStringLiteral("I"));
    // Where the old wide text was, past the new narrow one, only white is left.
    for (int x = 140; x < 160; ++x) {
        for (int y = 100; y < 115; ++y)
            QCOMPARE(area.picture().pixelColor(x, y), QColor(Qt::white));
    }
}

void TestUpdateFlashWindow::menuEntryRunsTheWindow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("windowOpens");
    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("name of 250 characters") << QString(246, QLatin1Char('n')) + ".hex" << false;
    QTest::newRow("image with a bad line") << QStringLiteral("bad.hex") << true;
}

void TestUpdateFlashWindow::menuEntryRunsTheWindow() {
    QFETCH(QString, name);
    QFETCH(bool, windowOpens);
    TestSession t;
    AppWindow main(t.session);
    const QString image = name.isEmpty() ? QString() : t.path(name);
    if (!image.isEmpty())
        QVERIFY(HexImages::Write(image, {":0300300002337A1e"}));
    t.dialogs.chooseNextFile(image);
    // The window keeps its refusal until OK; the operator reads it and presses OK.
    QString shown;
    QTimer operatorAtTheDesk;
    connect(&operatorAtTheDesk, &QTimer::timeout, [&] {
        auto* window = qobject_cast<UpdateFlashWindow*>(QApplication::activeModalWidget());
        auto* ok = window ? window->findChild<QPushButton*>(QStringLiteral("K_OK")) : nullptr;
        if (ok && ok->isVisible()) {
            shown = Row(*window, Result);
            ok->click();
        }
    });
    operatorAtTheDesk.start(10);
    main.actions().Upd_Flash->trigger();
    QCOMPARE(shown, windowOpens ? QStringLiteral("PARITY ERROR IN LINE 1") : QString());
    QVERIFY(!t.dialogs.pending());
    const auto* commands = main.findChild<FlashCommands*>();
    QVERIFY(commands);
    QCOMPARE(commands->memory().HexFilePath, image);
    QVERIFY(t.prompts.allShown());
}

QTEST_MAIN(TestUpdateFlashWindow)
#include "tst_updateflashwindow.moc"
