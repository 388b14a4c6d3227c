#include "editor/gui/EntryField.h"

#include <QKeyEvent>

namespace {
bool isOwnFocusMove(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
} // namespace

EntryField::EntryField(QWidget* parent) : QLineEdit(parent) {}

bool EntryField::event(QEvent* event) {
    // Tab is taken before the focus chain sees it: the editor decides where the focus goes.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & ~Qt::KeypadModifier)) {
            emit tabPressed();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit enterPressed();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!isOwnFocusMove(event->reason()))
        return;
    keepSelectionOnPress_ = event->reason() == Qt::MouseFocusReason;
    emit gotFocus();
}

void EntryField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    keepSelectionOnPress_ = false;
    if (isOwnFocusMove(event->reason()))
        emit lostFocus();
}

void EntryField::mousePressEvent(QMouseEvent* event) {
    const bool reselect = keepSelectionOnPress_ && hasSelectedText();
    keepSelectionOnPress_ = false;
    QLineEdit::mousePressEvent(event);
    if (reselect)
        selectAll();
}
