#include "Q517Paths.h"
#include "app/AppWindow.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/FormatStepper.h"
#include "support/TestSession.h"
#include "timing/gui/OutputLamps.h"
#include "timing/gui/ShaftView.h"
#include "timing/gui/TimingWindow.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include <tuple>
#include <vector>

namespace {
// Cam 5, PRESS, with 10 ms of its own advance, on 10..70 in format 1; cam 2 on 100..200 in
// format 2. At 600 rpm PRESS switches 36 degrees early: on at 334, off at 34.
void program(Session& s) {
    CamProgram& p = s.program;
    p.Parameters.AdvanceCount = 24;
    p.Parameters.CamAdvance[4] = 10;
    p.SetCamName(5, QStringLiteral("PRESS"));
    p.SetPhase(1, 5, 10, 70);
    p.SetPhase(2, 2, 100, 200);
}

TimingWindow* open(MainWindow& window) {
    window.actions().Fu_Timing->trigger();
    return window.findChild<TimingWindow*>(QStringLiteral("TIMING"));
}

// Types text over the field's and presses Enter.
void typeInto(QLineEdit* field, const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}
} // namespace

class TestTimingWindow : public QObject {
    Q_OBJECT
private slots:
    void speedAndMinimumAreRefusedInTheirFields() {
        TestSession t;
        program(t.session);
        AppWindow window(t.session);
        TimingWindow* timing = open(window);
        QVERIFY(timing);
        QCOMPARE(timing->windowTitle(), QStringLiteral("T420"));
        QCOMPARE(timing->SpeedRpm->text(), QStringLiteral("600"));
        QCOMPARE(timing->SpeedSlider->value(), 600);
        for (const char* bad : {"0", "20001", "12.5", "fast"}) {
            typeInto(timing->SpeedRpm, QString::fromLatin1(bad));
            QCOMPARE(timing->Problem->text(), QStringLiteral("T439"));
            QCOMPARE(timing->rpm(), 600);
            QCOMPARE(timing->SpeedRpm->text(), QString::fromLatin1(bad));
        }
        typeInto(timing->SpeedRpm, QStringLiteral("1200"));
        QCOMPARE(timing->rpm(), 1200);
        QCOMPARE(timing->SpeedSlider->value(), 1200);
        QCOMPARE(timing->SlowDown->value(), 40);
        QVERIFY(timing->Problem->text().isEmpty());
        QCOMPARE(t.session.settings.TimingRpm(), 1200);
        timing->SpeedSlider->setValue(600);
        QCOMPARE(timing->SpeedRpm->text(), QStringLiteral("600"));
        QCOMPARE(t.session.settings.TimingRpm(), 600);

        typeInto(timing->MinMs, QStringLiteral("-2"));
        QCOMPARE(timing->Problem->text(), QStringLiteral("T440"));
        typeInto(timing->MinMs, QStringLiteral("20"));
        QVERIFY(timing->Problem->text().isEmpty());
        QCOMPARE(timing->MaxRpm->text(), QStringLiteral("T437 500 rpm"));
        // PRESS's phase is red, its gap is not; the table begins with cams 1..4 without phases.
        const QAbstractItemModel* table = timing->Table->model();
        QCOMPARE(table->index(4, 8).data().toString(), QStringLiteral("16.7"));
        QCOMPARE(table->index(4, 8).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!table->index(4, 9).data(Qt::ForegroundRole).isValid());
        QCOMPARE(table->index(4, 6).data().toString(), QStringLiteral("334.0"));
    }

    void doubleClickShowsTheCamInTheEditor() {
        TestSession t;
        program(t.session);
        AppWindow window(t.session);
        window.show();
        TimingWindow* timing = open(window);
        QVERIFY(QTest::qWaitForWindowExposed(timing));
        QTest::mouseClick(timing->Picture1, Qt::LeftButton, {}, QPoint(40, 9));
        QCOMPARE(timing->format(), 2);
        QCOMPARE(timing->LFORM->text(), QStringLiteral("T7402"));
        QTableView* table = timing->Table;
        const QPoint cell = table->visualRect(table->model()->index(1, 4)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(t.session.program.CurrentFormat, 2);
        QCOMPARE(t.session.program.CurrentCam, 2);
        // Asked for again, the same window comes back with the program as it is now.
        t.session.program.Reconfigure(8, 21, false);
        QCOMPARE(open(window), timing);
        QCOMPARE(table->model()->rowCount(), 8);
        QCOMPARE(timing->Lamps->lit().size(), std::size_t(8));
    }

    void shaftLightsTheLampsAtSpeed() {
        TestSession t;
        program(t.session);
        AppWindow window(t.session);
        TimingWindow* timing = open(window);
        QVERIFY(QTest::qWaitForWindowExposed(timing));
        QCOMPARE(timing->SlowDown->value(), 20);
        timing->showAngle(333000);
        QVERIFY(!timing->Lamps->lit()[4]);
        QTest::mouseClick(timing->K_PLAY, Qt::LeftButton);
        QVERIFY(timing->playing());
        QCOMPARE(timing->K_PLAY->text(), QStringLiteral("T425"));
        // An arrow pauses the shaft and turns it one whole degree.
        timing->Shaft->setFocus();
        QTest::keyClick(timing->Shaft, Qt::Key_Right);
        QVERIFY(!timing->playing());
        QCOMPARE(timing->K_PLAY->text(), QStringLiteral("T424"));
        QCOMPARE(timing->angle(), 334000);
        QVERIFY(timing->Lamps->lit()[4]);
        QCOMPARE(timing->Readout->text(), QStringLiteral("T445 334.0\u00b0   T446 92.8 ms"));
        timing->showAngle(34000);
        QVERIFY(!timing->Lamps->lit()[4]);
        QTest::keyClick(timing->Shaft, Qt::Key_Left);
        QCOMPARE(timing->angle(), 33000);
        QVERIFY(timing->Lamps->lit()[4]);

        // The phase at speed is outlined over the bar from 334 degrees, the cursor stands at 33.
        const QImage image = timing->Shaft->grab().toImage();
        const QRect bar = timing->Shaft->barBox(5);
        const double scale = DiagramGeometry::DegreeScale(bar.width(), 1);
        const int x = DiagramGeometry::DegreeToX(bar.x(), scale, 334);
        QCOMPARE(image.pixelColor(x, bar.center().y()), ShaftView::AtSpeedInk());
        QCOMPARE(image.pixelColor(timing->Shaft->cursorX(), bar.center().y()), QColor(0, 160, 0));
        // The picture for the README, in English: a few more cams, 20 ms as the minimum time.
        CamProgram& p = t.session.program;
        const std::vector<std::tuple<int, const char*, int, int, int>> cams{
            {1, "FEEDER", 30, 90, 0},
            {2, "CLAMP", 80, 250, 25},
            {3, "KNIFE", 200, 215, 40},
            {7, "EJECT", 300, 20, 15}};
        for (const auto& [cam, name, on, off, advance] : cams) {
            p.SetCamName(cam, QString::fromLatin1(name));
            p.SetPhase(1, cam, on, off);
            p.Parameters.CamAdvance[std::size_t(cam - 1)] = uint8_t(advance);
        }
        LanguageTexts english;
        QVERIFY(english.LoadLanguage(QStringLiteral(Q517_SOURCE_DATA_DIR "/q517_EN.SCR")));
        TimingWindow shown(p, t.session.settings, english);
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        typeInto(shown.MinMs, QStringLiteral("20"));
        shown.showAngle(52000);
        const QString dir = QStringLiteral(Q517_BINARY_DIR "/screenshots");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(shown.grab().save(dir + QStringLiteral("/timing-window.png")));
    }
};

QTEST_MAIN(TestTimingWindow)
#include "tst_timingwindow.moc"
