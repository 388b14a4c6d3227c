#include "link/gui/DrawProgress.h"

#include <QImage>
#include <QPainter>
#include <QTest>

namespace {
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

QImage drawn(int percent, QSize size = QSize(200, 24)) {
    QImage image(size + QSize(20, 20), QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    PaintProgress(painter, QRect(QPoint(10, 10), size), percent);
    return image;
}

// Counts pixels of one colour in columns [from, to) of the bar's rows.
int count(const QImage& image, int from, int to, QRgb colour) {
    int n = 0;
    for (int y = 10; y < image.height() - 10; ++y)
        for (int x = 10 + from; x < 10 + to; ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}
} // namespace

class TestDrawProgress : public QObject {
    Q_OBJECT
private slots:
    void barAndFigure_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("edge"); // first column not covered by the bar
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("50") << 50 << 100;
        QTest::newRow("33") << 33 << 66;
        QTest::newRow("100") << 100 << 200;
        QTest::newRow("above 100 stays inside") << 140 << 200;
        QTest::newRow("negative draws no bar") << -5 << 0;
    }
    void barAndFigure() {
        QFETCH(int, percent);
        QFETCH(int, edge);
        const QImage image = drawn(percent);
        // Nothing outside the bar's rectangle is touched.
        QCOMPARE(image.pixel(5, 5), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(215, 30), qRgb(255, 0, 0));
        // The corners: blue where the bar has passed, white beyond it.
        QCOMPARE(image.pixel(10, 10), edge > 0 ? kBlue : kWhite);
        QCOMPARE(image.pixel(209, 33), edge >= 200 ? kBlue : kWhite);
        if (edge > 0 && edge < 200) {
            QCOMPARE(image.pixel(10 + edge - 1, 10), kBlue);
            QCOMPARE(image.pixel(10 + edge, 10), kWhite);
        }
    }

    void figureStaysReadableUnderTheBar() {
        // At 50 % the centred figure straddles the bar's end: blue on white to the right,
        // white on blue to the left.
        const QImage image = drawn(50);
        QVERIFY(count(drawn(0), 0, 200, kBlue) > 0); // the figure is drawn at all
        QVERIFY(count(image, 100, 200, kBlue) > 0);
        QVERIFY(count(image, 0, 100, kWhite) > 0);
        // Two colours only: blue and white swap under the bar, nothing in between.
        QCOMPARE(count(image, 0, 200, kBlue) + count(image, 0, 200, kWhite), 200 * 24);
        // The figure is a minority of the pixels on each side of the bar's end.
        QVERIFY(count(image, 0, 100, kBlue) > count(image, 0, 100, kWhite));
        QVERIFY(count(image, 100, 200, kWhite) > count(image, 100, 200, kBlue));
    }

    void widgetShowsAndKeepsPercent() {
        QWidget window;
        ProgressBarWidget bar(&window);
        bar.resize(100, 20);
        bar.setVisible(false);
        DrawProgress(bar, 40);
        QVERIFY(bar.isVisibleTo(&window));
        QCOMPARE(bar.percent(), 40);
        QCOMPARE(bar.objectName(), QStringLiteral("Barra"));
        const QImage grabbed = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grabbed.pixel(1, 1), kBlue);
        QCOMPARE(grabbed.pixel(98, 1), kWhite);
    }
};

QTEST_MAIN(TestDrawProgress)
#include "tst_drawprogress.moc"
