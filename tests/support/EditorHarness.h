#pragma once

#include "app/AppWindow.h"
#include "support/TestSession.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

// A real main window with the cam editor installed, shown and active, over a TestSession.
// Widgets are found by their control names, as an operator's clicks and keys reach them.
struct EditorHarness {
    TestSession ts;
    AppWindow window{ts.session};

    EditorHarness() {
        window.applyTexts();
        window.show();
        // Asks the platform for the focus: on a real X server only the server makes a window
        // active, and Qt's own idea of the active window alone is not enough.
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            QTest::qFail("main window never became active", __FILE__, __LINE__);
        window.host().redrawFormat();
    }

    CamProgram& program() { return ts.session.program; }
    QWidget* editor() { return window.centralWidget(); }

    template <class T = QWidget> T* find(const QString& name) {
        T* w = window.findChild<T*>(name);
        if (!w)
            QTest::qFail(qPrintable(QStringLiteral("no control ") + name), __FILE__, __LINE__);
        return w;
    }
    QLineEdit* onField() { return find<QLineEdit>(QStringLiteral("GradiON")); }
    QLineEdit* offField() { return find<QLineEdit>(QStringLiteral("GradiOFF")); }
    QLineEdit* nameField() { return find<QLineEdit>(QStringLiteral("DEFINCAM")); }
    QListWidget* phaseList() { return find<QListWidget>(QStringLiteral("FASE")); }
    QLabel* label(const QString& name) { return find<QLabel>(name); }
    QLabel* rowLabel(int row) { return label(QStringLiteral("Label1(%1)").arg(row)); }
    QLabel* nameLabel(int row) { return label(QStringLiteral("LDefC(%1)").arg(row)); }
    QWidget* bar(int row) { return find<QWidget>(QStringLiteral("BARRA(%1)").arg(row)); }
    QAction* undo() { return window.actions().o_Undo; }

    QStringList phaseItems() {
        QStringList items;
        for (int i = 0; i < phaseList()->count(); ++i)
            items.append(phaseList()->item(i)->text());
        return items;
    }

    // Keys go where the operator's keyboard would send them: to the widget with the focus.
    void key(Qt::Key k) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : &window, k);
    }
    void type(const QString& text) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClicks(target ? target : &window, text);
    }

    // A click on the middle of row's bar (the row-number caption covers it).
    void clickRow(int row) {
        QTest::mouseClick(rowLabel(row), Qt::LeftButton, {}, QPoint(rowLabel(row)->width() / 2, 5));
    }
    void doubleClickRow(int row) {
        clickRow(row);
        QTest::mouseDClick(rowLabel(row), Qt::LeftButton, {},
                           QPoint(rowLabel(row)->width() / 2, 5));
    }

    QImage grabEditor() { return editor()->grab().toImage(); }
};
