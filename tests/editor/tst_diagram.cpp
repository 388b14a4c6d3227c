#include "dialogs/gui/WindowGeometry.h"
#include "editor/DiagramGeometry.h"
#include "support/EditorHarness.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {
using Runs = QList<QPair<int, int>>; // inclusive ON runs, never wrapping

const QColor Yellow(255, 255, 0);
const QColor White(255, 255, 255);
const QColor Blue(0, 0, 255);
const QColor Black(0, 0, 0);

void putRuns(CamProgram& p, int format, int cam, const Runs& runs) {
    for (const auto& r : runs)
        for (int d = r.first; d <= r.second; ++d)
            p.WriteDegree(format, cam, d, 1);
}

// The colour painted in the middle of row's band at degree d (the widget's own pixels).
QColor colourAt(EditorHarness& h, const QImage& image, int row, int degree) {
    const QRect bar = h.bar(row)->geometry();
    const double scale = DiagramGeometry::DegreeScale(bar.width(), 1);
    // Inner runs sit one margin to the right of degree 0's origin; a degree's pixel is the
    // one between its own start and the next degree's.
    const int x = bar.x() + qRound(degree * scale + 1);
    return image.pixelColor(x, bar.y() + bar.height() / 2);
}
} // namespace

class TestDiagram : public QObject {
    Q_OBJECT
private slots:
    void captionsComeFromTheLanguageTexts() {
        EditorHarness h;
        QCOMPARE(h.label(QStringLiteral("LFORM"))->text(), QStringLiteral("T7401"));
        QCOMPARE(h.label(QStringLiteral("FrC"))->text(), QStringLiteral("C 01"));
        QCOMPARE(h.label(QStringLiteral("Label2(5)"))->text(), QStringLiteral("T130"));
        QCOMPARE(h.label(QStringLiteral("LbSpin"))->text(), QStringLiteral("T131"));
        QCOMPARE(h.label(QStringLiteral("LDEFINCAM"))->text(), QStringLiteral("T132"));
        QCOMPARE(h.label(QStringLiteral("LGRAD"))->text(), QStringLiteral("T133"));
        QCOMPARE(h.label(QStringLiteral("Tot_fasi"))->text(), QStringLiteral("T17000"));
        QCOMPARE(h.rowLabel(1)->text(), QStringLiteral(" 1"));
        QCOMPARE(h.rowLabel(24)->text(), QStringLiteral("24"));
        const char* scale[] = {"0", "90", "180", "270", "360"};
        for (int k = 0; k < 5; ++k)
            QCOMPARE(h.label(QStringLiteral("Label2(%1)").arg(k))->text(),
                     QString::fromLatin1(scale[k]));
    }

    // The list, the count and the painted row agree for every shape of cam.
    void camShapes_data() {
        QTest::addColumn<Runs>("on");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QList<int>>("onProbes");
        QTest::addColumn<QList<int>>("offProbes");
        QTest::newRow("empty") << Runs{} << QStringList{} << QList<int>{}
                               << QList<int>{5, 100, 350};
        QTest::newRow("300..359 and 0..29")
            << Runs{{300, 359}, {0, 29}} << QStringList{"F001 300 030"}
            << QList<int>{3, 20, 310, 350} << QList<int>{40, 200, 290};
        QTest::newRow("only 350..359") << Runs{{350, 359}} << QStringList{"F001 350 000"}
                                       << QList<int>{352} << QList<int>{3, 200};
        QTest::newRow("only 0..9")
            << Runs{{0, 9}} << QStringList{"F001 000 010"} << QList<int>{3} << QList<int>{20, 352};
        QTest::newRow("full circle") << Runs{{0, 359}} << QStringList{"F001 000 360"}
                                     << QList<int>{3, 100, 200, 352} << QList<int>{};
        QTest::newRow("10..20 and 100..200")
            << Runs{{10, 19}, {100, 199}} << QStringList{"F001 010 020", "F002 100 200"}
            << QList<int>{12, 100, 150} << QList<int>{25, 80, 220};
    }
    void camShapes() {
        QFETCH(Runs, on);
        QFETCH(QStringList, items);
        QFETCH(QList<int>, onProbes);
        QFETCH(QList<int>, offProbes);
        EditorHarness h;
        h.program().CurrentCam = 3;
        putRuns(h.program(), 1, 3, on);
        putRuns(h.program(), 1, 4, on);
        h.window.host().redrawFormat();

        QStringList listed;
        for (int i = 0; i < h.phaseList()->count(); ++i)
            listed.append(h.phaseList()->item(i)->text());
        QCOMPARE(listed, items);
        QCOMPARE(h.label(QStringLiteral("Tot_fasi"))->text(),
                 QStringLiteral("T17") + QString::number(items.size()).rightJustified(3, '0'));

        const QImage image = h.grabEditor();
        for (int d : onProbes) {
            QCOMPARE(colourAt(h, image, 3, d), Blue);  // current cam
            QCOMPARE(colourAt(h, image, 4, d), Black); // another cam
        }
        for (int d : offProbes) {
            QCOMPARE(colourAt(h, image, 3, d), Yellow);
            QCOMPARE(colourAt(h, image, 4, d), White);
        }
        // The current cam's name caption is highlighted too.
        QLabel* current = h.nameLabel(3);
        QCOMPARE(current->palette().color(current->backgroundRole()), Yellow);
        QCOMPARE(current->palette().color(current->foregroundRole()), Blue);
        QLabel* other = h.nameLabel(4);
        QCOMPARE(other->palette().color(other->backgroundRole()), White);
        QCOMPARE(other->palette().color(other->foregroundRole()), Black);
    }

    void blueExactlyFromTheOnDegree() {
        EditorHarness h;
        putRuns(h.program(), 1, 1, {{100, 149}});
        h.window.host().redrawFormat();
        const QImage image = h.grabEditor();
        const QRect bar = h.bar(1)->geometry();
        const double scale = DiagramGeometry::DegreeScale(bar.width(), 1);
        const int y = bar.y() + bar.height() / 2;
        const int first = bar.x() + qRound(100 * scale + 1);
        const int last = bar.x() + qRound(149 * scale + 1);
        QCOMPARE(image.pixelColor(first, y), Blue);
        QCOMPARE(image.pixelColor(first - 1, y), Yellow);
        QCOMPARE(image.pixelColor(last, y), Blue);
        QCOMPARE(image.pixelColor(last + 1, y), Yellow);
    }

    void eightCamsLeaveRows9To24White() {
        EditorHarness h;
        QVERIFY(h.program().Reconfigure(8, 21, false));
        for (int cam = 1; cam <= 8; ++cam)
            putRuns(h.program(), 1, cam, {{0, 359}});
        h.window.host().redrawFormat();
        const QImage image = h.grabEditor();
        for (int row = 1; row <= 24; ++row) {
            const bool used = row <= 8;
            QCOMPARE(h.rowLabel(row)->isHidden(), !used);
            QCOMPARE(h.nameLabel(row)->isHidden(), !used);
            QCOMPARE(h.bar(row)->isHidden(), !used);
            for (int d : {10, 100, 200, 300})
                QCOMPARE(colourAt(h, image, row, d), !used ? White : row == 1 ? Blue : Black);
        }
        // Back to 24 cams: every row returns.
        QVERIFY(h.program().Reconfigure(24, 6, false));
        h.window.host().redrawFormat();
        QVERIFY(!h.rowLabel(24)->isHidden());
        QCOMPARE(colourAt(h, h.grabEditor(), 24, 100), White);
    }

    // Nothing is kept between paints: a repaint shows the program as it is, exactly as
    // ShowFormat left it.
    void repaintShowsTheProgram() {
        EditorHarness h;
        putRuns(h.program(), 1, 2, {{30, 59}});
        h.window.host().redrawFormat();
        const QImage shown = h.grabEditor();
        h.editor()->repaint();
        QCOMPARE(h.grabEditor(), shown);
        putRuns(h.program(), 1, 5, {{200, 209}});
        h.window.host().drawCamRow(5);
        const QImage after = h.grabEditor();
        QCOMPARE(colourAt(h, after, 5, 205), Black);
        QCOMPARE(colourAt(h, after, 2, 40), Black);
    }

    void drawCamRowOfTheCurrentCamRebuildsItsList() {
        EditorHarness h;
        h.program().CurrentCam = 2;
        h.window.host().redrawFormat();
        putRuns(h.program(), 1, 2, {{5, 9}});
        putRuns(h.program(), 1, 6, {{50, 59}});
        h.window.host().drawCamRow(6); // another cam: the list stays the current cam's
        QCOMPARE(h.phaseList()->count(), 0);
        h.window.host().drawCamRow(2);
        QCOMPARE(h.phaseList()->count(), 1);
        QCOMPARE(h.phaseList()->item(0)->text(), QStringLiteral("F001 005 010"));
        // Rows that do not exist are ignored.
        h.window.host().drawCamRow(0);
        h.window.host().drawCamRow(25);
        QCOMPARE(h.phaseList()->count(), 1);
    }

    // Scaled once to a wider screen, bars, lines and captions grow together and the
    // degrees still land where the bar says.
    void scalingKeepsDegreesOnTheBar() {
        EditorHarness h;
        putRuns(h.program(), 1, 1, {{100, 149}});
        const QRect before = h.bar(3)->geometry();
        WindowGeometry::ScaleWindow(h.editor(), 1.5, true);
        h.window.host().redrawFormat();
        const QRect after = h.bar(3)->geometry();
        QCOMPARE(after.x(), qRound(before.x() * 1.5));
        QCOMPARE(after.width(), qRound(before.width() * 1.5));
        QVERIFY(h.onField()->isHidden()); // fields stay closed after scaling
        QVERIFY(h.nameField()->isHidden());
        QVERIFY(!h.phaseList()->verticalScrollBar()->isVisible());
        const QImage image = h.grabEditor();
        QCOMPARE(colourAt(h, image, 1, 100), Blue);
        QCOMPARE(colourAt(h, image, 1, 149), Blue);
        QCOMPARE(colourAt(h, image, 1, 160), Yellow);
    }

    // The stepper never wraps: at either end it only shows its pushed arrow.
    void stepper_data() {
        QTest::addColumn<int>("startFormat");
        QTest::addColumn<bool>("left");
        QTest::addColumn<int>("expectedFormat");
        QTest::newRow("previous at format 1") << 1 << true << 1;
        QTest::newRow("next at the last format") << 6 << false << 6;
        QTest::newRow("previous from 4") << 4 << true << 3;
        QTest::newRow("next from 1") << 1 << false << 2;
    }
    void stepper() {
        QFETCH(int, startFormat);
        QFETCH(bool, left);
        QFETCH(int, expectedFormat);
        EditorHarness h;
        h.program().CurrentFormat = startFormat;
        putRuns(h.program(), expectedFormat, 1, {{100, 109}});
        h.window.host().redrawFormat();
        QWidget* stepper = h.find(QStringLiteral("Picture1"));
        const QImage released = stepper->grab().toImage();
        const QPoint at(left ? 3 : stepper->width() - 3, stepper->height() / 2);
        QTest::mousePress(stepper, Qt::LeftButton, {}, at);
        const QImage pressed = stepper->grab().toImage();
        QVERIFY(pressed != released);
        QCOMPARE(h.program().CurrentFormat, expectedFormat);
        QCOMPARE(h.label(QStringLiteral("LFORM"))->text(),
                 QStringLiteral("T74") + QString::number(expectedFormat).rightJustified(2, '0'));
        QCOMPARE(h.phaseList()->count(), 1); // the shown format's cam 1
        QTest::mouseRelease(stepper, Qt::LeftButton, {}, at);
        QCOMPARE(stepper->grab().toImage(), released);
        // Another button does nothing.
        QTest::mousePress(stepper, Qt::RightButton, {}, at);
        QCOMPARE(h.program().CurrentFormat, expectedFormat);
        QTest::mouseRelease(stepper, Qt::RightButton, {}, at);
    }

    // The format caption and the stepper caption close the fields and ask for Select Size.
    void formatCaptionsAskForSelectSize_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("LFORM double click") << "LFORM" << true;
        QTest::newRow("LbSpin click") << "LbSpin" << false;
    }
    void formatCaptionsAskForSelectSize() {
        QFETCH(QString, caption);
        QFETCH(bool, doubleClick);
        EditorHarness h;
        QSignalSpy selectSize(h.window.actions().S_Sel, &QAction::triggered);
        h.window.actions().GoPrCam->trigger();
        QVERIFY(!h.onField()->isHidden());
        QLabel* label = h.label(caption);
        // Select Size itself asks for the format; the operator cancels it here.
        h.ts.prompts.expectInput(QStringLiteral("T20 1- 6"), std::nullopt);
        QTest::mouseClick(label, Qt::LeftButton);
        if (doubleClick) {
            QCOMPARE(selectSize.count(), 0); // a single click on LFORM is nothing
            QVERIFY(!h.onField()->isHidden());
            QTest::mouseDClick(label, Qt::LeftButton);
        }
        QCOMPARE(selectSize.count(), 1);
        QVERIFY(h.onField()->isHidden());
    }
};

QTEST_MAIN(TestDiagram)
#include "tst_diagram.moc"
