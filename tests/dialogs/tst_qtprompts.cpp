#include "dialogs/gui/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// Enter on a question takes its default button: on a destructive question that must be the
// answer that keeps the work.
class TestQtPrompts : public QObject {
    Q_OBJECT
private slots:
    void enterTakesTheDefault_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        using B = Prompts::Buttons;
        using A = Prompts::Answer;
        QTest::newRow("Yes/No") << int(B::YesNo) << int(A::Yes);
        QTest::newRow("Yes/No, No default") << int(B::YesNoDefaultNo) << int(A::No);
        QTest::newRow("Yes/No/Cancel, No default") << int(B::YesNoCancelDefaultNo) << int(A::No);
        QTest::newRow("OK/Cancel") << int(B::OkCancel) << int(A::Ok);
        QTest::newRow("OK/Cancel, Cancel default")
            << int(B::OkCancelDefaultCancel) << int(A::Cancel);
    }
    void enterTakesTheDefault() {
        QFETCH(int, buttons);
        QFETCH(int, answer);
        QtPrompts prompts;
        int boxes = 0;
        QTimer::singleShot(0, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    ++boxes;
                    QTest::keyClick(box, Qt::Key_Return);
                }
            }
        });
        const auto got = prompts.message(QStringLiteral("Erase cam 3?"), QStringLiteral("ERASE"),
                                         Prompts::Buttons(buttons), Prompts::Icon::Question);
        QCOMPARE(boxes, 1);
        QCOMPARE(int(got), answer);
    }
};

QTEST_MAIN(TestQtPrompts)
#include "tst_qtprompts.moc"
