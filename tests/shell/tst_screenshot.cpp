#include "Q517Paths.h"
#include "app/AppWindow.h"
#include "support/TestSession.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QTest>

namespace {
// A format an operator might have programmed: named cams with one or more phases, some
// crossing the top of the shaft turn, and cams left empty in between.
void programFormat(CamProgram& p) {
    p.Reconfigure(16, 10, false);
    p.CurrentFormat = 1;
    p.CurrentCam = 3;
    const struct {
        int cam;
        const char* name;
        QList<QPair<int, int>> phases;
    } cams[] = {
        {1, "FEED", {{0, 90}}},
        {2, "CLAMP", {{45, 135}, {200, 260}}},
        {3, "CUT", {{100, 110}, {180, 190}, {300, 310}}},
        {5, "EJECT", {{330, 359}, {0, 20}}},
        {8, "GLUE", {{10, 350}}},
        {12, "COUNTER", {{350, 359}}},
        {16, "BRAKE", {{270, 300}}},
    };
    for (const auto& c : cams) {
        p.SetCamName(c.cam, QString::fromLatin1(c.name));
        for (const auto& ph : c.phases)
            p.SetPhase(1, c.cam, ph.first, ph.second);
    }
}

// Where a caption's text is inked, in window coordinates (labels and buttons of the editor).
QRect textRect(QWidget* w, const QString& text) {
    Qt::Alignment align = Qt::AlignCenter;
    if (auto* l = qobject_cast<QLabel*>(w))
        align = l->alignment();
    // The ink of the text, not its line height: rows of digits may sit closer than a line.
    const QSize size = w->fontMetrics().tightBoundingRect(text).size();
    const QRect inside = QStyle::alignedRect(w->layoutDirection(), align, size, w->contentsRect());
    return QRect(w->mapTo(w->window(), inside.topLeft()), inside.size());
}

QString textOf(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return {};
}
} // namespace

// The main window on the platform the tests run on (offscreen, or a real X server in CI),
// with a programmed format in the English texts; its picture is kept as a build artifact.
class TestScreenshot : public QObject {
    Q_OBJECT
private slots:
    void mainWindowWithAProgrammedFormat() {
        TestSession ts;
        QFile script(QStringLiteral(Q517_TEST_DATA_DIR "/../../data/q517_EN.SCR"));
        QVERIFY(script.open(QIODevice::ReadOnly));
        ts.session.texts.LoadFromBytes(script.readAll());
        programFormat(ts.session.program);

        AppWindow window(ts.session);
        window.applyTexts();
        window.resize(1280, 800);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.host().redrawFormat();
        QApplication::processEvents();

        const QImage shot = window.grab().toImage();
        QVERIFY(!shot.isNull());
        const QString dir = QStringLiteral(Q517_BINARY_DIR "/screenshots");
        QVERIFY(QDir().mkpath(dir));
        const QString file = dir + QStringLiteral("/main-window.png");
        QVERIFY(shot.save(file));
        QCOMPARE(QImage(file).size(), shot.size());

        // Every shown caption, name and field is wide enough for its text.
        QStringList clipped;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            const QString text = textOf(w);
            if (!w->isVisible() || text.isEmpty() || text.contains(QLatin1Char('\n')))
                continue;
            if (auto* l = qobject_cast<QLabel*>(w); l && l->wordWrap())
                continue;
            const int needed = w->fontMetrics().horizontalAdvance(text);
            if (needed > w->contentsRect().width())
                clipped << QStringLiteral("%1 \"%2\" (%3 of %4 px)")
                               .arg(w->objectName(), text)
                               .arg(needed)
                               .arg(w->contentsRect().width());
        }
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));

        // No two captions of the editor are drawn over each other.
        QList<QPair<QWidget*, QRect>> drawn;
        for (QWidget* w : window.centralWidget()->findChildren<QWidget*>()) {
            const QString text = textOf(w);
            if (w->isVisible() && !text.trimmed().isEmpty() &&
                (qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w)))
                drawn.append({w, textRect(w, text)});
        }
        QStringList overlapping;
        for (int i = 0; i < drawn.size(); ++i)
            for (int j = i + 1; j < drawn.size(); ++j)
                if (drawn[i].second.intersects(drawn[j].second))
                    overlapping << drawn[i].first->objectName() + QStringLiteral(" and ") +
                                       drawn[j].first->objectName();
        QVERIFY(drawn.size() > 20);
        QVERIFY2(overlapping.isEmpty(), qPrintable(overlapping.join(QStringLiteral("; "))));

        // The programmed names and the current cam's phases are on show.
        auto* name = window.findChild<QLabel*>(QStringLiteral("LDefC(12)"));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("COUNTER"));
        auto* phases = window.findChild<QListWidget*>(QStringLiteral("FASE"));
        QVERIFY(phases);
        QCOMPARE(phases->count(), 3);
    }
};

QTEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
