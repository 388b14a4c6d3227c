#pragma once

#include <QLineEdit>

// A single-line entry field of the editor (the ON and OFF angles, the cam name). It reports
// the operator's own focus moves, Enter and Tab to the editor, which owns the rules. A focus
// change caused by another window or a popup menu taking over is not a move in the field.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    explicit EntryField(QWidget* parent = nullptr);

signals:
    void gotFocus();
    void lostFocus();
    void enterPressed();
    void tabPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // A mouse click that gave the focus would otherwise place the cursor over the selection
    // the focus handler just made.
    bool keepSelectionOnPress_ = false;
};
