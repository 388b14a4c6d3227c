#include "flash/gui/FlashCommands.h"
#include "flash/gui/FlashTextArea.h"
#include "flash/gui/UpdateFlashWindow.h"

#include "support/HexImages.h"
#include "support/TestSession.h"

#include "link/gui/DrawProgress.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

#include <QApplication>
#include <QTest>
#include <QTimer>

class TestUpdateFlashWindow : public QObject {
    Q_OBJECT
private slots:
    void windowShape();
    void indicatorAndBar();
    void checkRowsDrawnAtTheirPlaces();
    void parityErrorClosesTheWindow();
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
    QVERIFY(FlashTextArea::FixedFont({11, false, 0}).fixedPitch());
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
    window.showLed(0xFF0000);
    QVERIFY(led->isVisible());
    QCOMPARE(led->palette().color(QPalette::Window), QColor(255, 0, 0));
    window.showLed(0x00FF00);
    QCOMPARE(led->palette().color(QPalette::Window), QColor(0, 255, 0));
    window.drawProgress(40);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->percent(), 40);
    // Neither covers a text row.
    QVERIFY(led->geometry().top() > 0 && led->geometry().left() > 600);
    QVERIFY(bar->geometry().top() >= 220 + 20 && bar->geometry().bottom() < 280);
}

void TestUpdateFlashWindow::checkRowsDrawnAtTheirPlaces() {
    TestSession t;
    const QString image = t.path(QStringLiteral("tagged.hex"));
    QList<QByteArray> lines = HexImages::Image(11);
    lines.insert(0, HexImages::Record(0x0600, 0, "4F21A703/15/2010"));
    QVERIFY(HexImages::Write(image, lines));
    // No port of that name: the window stays open with the check's results.
    t.session.link.DeviceOverride = t.path(QStringLiteral("no-such-tty"));
    t.prompts.expectMessage(QStringLiteral("WRONG PORT N.1"));
    UpdateFlashWindow window(t.session, image);
    // The run is over in moments; then the operator closes the window.
    QTimer::singleShot(500, &window, [&] { window.done(QDialog::Rejected); });
    window.exec();
    const FlashTextArea* area = window.textArea();
    const qint64 size = QFileInfo(image).size();
    QCOMPARE(area->textAt(10, 15),
             QStringLiteral("WORKING FILE =\"%1\" (%2 bytes)").arg(image).arg(size));
    QCOMPARE(area->textAt(10, 36), QStringLiteral("Testing Line:            Tot.Bytes:"));
    QCOMPARE(area->textAt(140, 36), QStringLiteral("13"));
    QCOMPARE(area->textAt(340, 36), QStringLiteral("192"));
    QCOMPARE(area->textAt(10, 72), QStringLiteral(" CRC Prog:  4F21A7  Date Prog: MAR 15 2010"));
    // Something was really painted where the tag row goes.
    bool inked = false;
    for (int x = 10; x < 300 && !inked; ++x)
        inked = area->picture().pixelColor(x, 80) != QColor(Qt::white);
    QVERIFY(inked);
}

void TestUpdateFlashWindow::parityErrorClosesTheWindow() {
    TestSession t;
    const QString image = t.path(QStringLiteral("bad.hex"));
    QVERIFY(HexImages::Write(image, {":0300300002337A1e"}));
    t.prompts.expectMessage(QStringLiteral("PARITY ERROR IN LINE 1"));
    UpdateFlashWindow window(t.session, image);
    // Closes itself; a window left open would hold exec() for ever, so a guard ends it.
    bool guardFired = false;
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, &window, [&] {
        guardFired = true;
        window.done(QDialog::Accepted);
    });
    guard.start(5000);
    QCOMPARE(window.exec(), int(QDialog::Rejected));
    QVERIFY(!guardFired);
    QVERIFY(!window.updated());
}

void TestUpdateFlashWindow::changedFieldIsErasedFirst() {
    FlashTextArea area;
    const FlashView::Style bold{12, true, 0x000000};
    area.drawText(100, 100, QStringLiteral("WWWWWW"), bold);
    area.drawText(100, 100, QStringLiteral("I"), bold);
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
    MainWindow main(t.session);
    const QString image = name.isEmpty() ? QString() : t.path(name);
    if (!image.isEmpty())
        QVERIFY(HexImages::Write(image, {":0300300002337A1e"}));
    t.dialogs.chooseNextFile(image);
    // The window reports the bad line; had it opened for the other cases, it would too.
    if (windowOpens)
        t.prompts.expectMessage(QStringLiteral("PARITY ERROR IN LINE 1"));
    main.action(QStringLiteral("Upd_Flash"))->trigger();
    QVERIFY(!t.dialogs.pending());
    const auto* commands = main.findChild<FlashCommands*>();
    QVERIFY(commands);
    QCOMPARE(commands->memory().HexFilePath, image);
    QVERIFY(t.prompts.allShown());
}

QTEST_MAIN(TestUpdateFlashWindow)
#include "tst_updateflashwindow.moc"
