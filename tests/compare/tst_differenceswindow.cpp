#include "Q517Paths.h"
#include "compare/gui/CamPairView.h"
#include "compare/gui/DifferencesWindow.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamBarPainter.h"
#include "support/EnglishTexts.h"
#include "support/ProgramPair.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// The names differ too.
CamProgram programB() {
    CamProgram p = ProgramPair::B();
    p.SetCamName(3, QString());
    return p;
}

QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The colour painted at degree d of one of the view's strips, halfway down it.
QColor colourAt(const QImage& image, const QRect& box, int degree) {
    const double scale = DiagramGeometry::DegreeScale(box.width(), CamBarMargin);
    return image.pixelColor(DiagramGeometry::DegreeToX(box.x(), scale, degree) + CamBarMargin,
                            box.center().y());
}

} // namespace

class TestDifferencesWindow : public QObject {
    Q_OBJECT
private slots:
    void listsTheDifferingCamsAndShowsTheSelectedOne() {
        DifferencesWindow window(EnglishTexts(), ProgramPair::A(), programB(),
                                 QStringLiteral("mine"), QStringLiteral("B.CAM"));
        QCOMPARE(window.objectName(), QStringLiteral("DIFF"));
        QCOMPARE(window.Summary->text(),
                 QStringLiteral("Differences: 2 cams, 1 name, 0 parameters"));
        QCOMPARE(window.CaptionB->text(), QStringLiteral("B: B.CAM"));
        QCOMPARE(items(window.DiffList), (QStringList{"F01 C03", "F04 C16"}));
        QCOMPARE(window.Details->toPlainText(), QStringLiteral("NAME C03  A: \"PUMP\"  B: \"\""));
        // The first difference is shown at once, phase lists as the editor lists them.
        QCOMPARE(items(window.PhasesA), QStringList{"F001 020 080"});
        QCOMPARE(items(window.PhasesB), QStringList{"F001 020 090"});
        window.DiffList->setCurrentRow(1);
        QCOMPARE(items(window.PhasesA), (QStringList{"F001 300 030", "F002 090 180"}));
        QCOMPARE(items(window.PhasesB), QStringList{"F001 090 180"});
    }

    void rowsAreDrawnInTheDiagramsColours() {
        DifferencesWindow window(EnglishTexts(), ProgramPair::A(), programB(), QString(),
                                 QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CamPairView* rows = window.Rows;
        const QImage image = rows->grab().toImage();
        // F01 C03: A is on 20..79, B on 20..89; the degrees 80..89 are marked between them.
        QCOMPARE(colourAt(image, rows->barA(), 50), QColor(Qt::black));
        QCOMPARE(colourAt(image, rows->barA(), 85), QColor(Qt::white));
        QCOMPARE(colourAt(image, rows->barB(), 85), QColor(Qt::black));
        QCOMPARE(colourAt(image, rows->strip(), 85), QColor(Qt::red));
        QVERIFY(colourAt(image, rows->strip(), 50) != QColor(Qt::red));
        QCOMPARE(rows->barA().width(), DiagramGeometry::BarTwips(1).width / 15);
    }

    void doubleClickAsksForThatFormatAndCam() {
        DifferencesWindow window(EnglishTexts(), ProgramPair::A(), programB(), QString(),
                                 QString());
        QSignalSpy goTo(&window, &DifferencesWindow::goToCam);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QListWidget* list = window.DiffList;
        const QRect item = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QCOMPARE(goTo.size(), 1);
        QCOMPARE(goTo.first(), (QVariantList{4, 16}));
        // The picture of the window with the second difference selected, for the README.
        const QString dir = QStringLiteral(Q517_BINARY_DIR "/screenshots");
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(window.grab().save(dir + QStringLiteral("/differences-window.png")));
    }

    void summaryWhenNothingOrOnlyTheTypeDiffers() {
        DifferencesWindow same(EnglishTexts(), ProgramPair::A(), ProgramPair::A(), QString(),
                               QString());
        QCOMPARE(same.Summary->text(), QStringLiteral("No differences"));
        QCOMPARE(same.DiffList->count(), 0);
        CamProgram other;
        other.Reconfigure(24, 6, false);
        DifferencesWindow types(EnglishTexts(), ProgramPair::A(), other, QString(), QString());
        QCOMPARE(types.Summary->text(), QStringLiteral("TYPE  A: C16-10  B: C24-06"));
        QCOMPARE(types.DiffList->count(), 0);
    }
};

QTEST_MAIN(TestDifferencesWindow)
#include "tst_differenceswindow.moc"
