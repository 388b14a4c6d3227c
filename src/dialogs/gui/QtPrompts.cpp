#include "dialogs/gui/QtPrompts.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QMessageBox::StandardButtons standardButtons(Prompts::Buttons buttons) {
    switch (Prompts::Shown(buttons)) {
    case Prompts::Buttons::Ok:
        return QMessageBox::Ok;
    case Prompts::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompts::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompts::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompts::Buttons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

// The safe answer of a destructive question, or none: the box's own default then.
QMessageBox::StandardButton safeDefault(Prompts::Buttons buttons) {
    switch (buttons) {
    case Prompts::Buttons::OkCancelDefaultCancel:
        return QMessageBox::Cancel;
    case Prompts::Buttons::YesNoDefaultNo:
    case Prompts::Buttons::YesNoCancelDefaultNo:
        return QMessageBox::No;
    default:
        return QMessageBox::NoButton;
    }
}

QMessageBox::Icon boxIcon(Prompts::Icon icon) {
    switch (icon) {
    case Prompts::Icon::Information:
        return QMessageBox::Information;
    case Prompts::Icon::Warning:
        return QMessageBox::Warning;
    case Prompts::Icon::Critical:
        return QMessageBox::Critical;
    case Prompts::Icon::Question:
        return QMessageBox::Question;
    case Prompts::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Closing a box with its window button counts as its cancelling choice.
Prompts::Answer escapeAnswer(Prompts::Buttons buttons) {
    switch (Prompts::Shown(buttons)) {
    case Prompts::Buttons::Ok:
        return Prompts::Answer::Ok;
    case Prompts::Buttons::YesNo:
        return Prompts::Answer::No;
    default:
        return Prompts::Answer::Cancel;
    }
}
} // namespace

Prompts::Answer QtPrompts::message(const QString& text, const QString& title, Buttons buttons,
                                   Icon icon) {
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QStringLiteral("q517") : title, text,
                    standardButtons(buttons), QApplication::activeWindow());
    if (const QMessageBox::StandardButton safe = safeDefault(buttons))
        box.setDefaultButton(safe);
    // A busy pointer must not hide behind a question that waits for the operator.
    const bool wasBusy = busyDepth_ > 0;
    if (wasBusy)
        QApplication::restoreOverrideCursor();
    const int pressed = box.exec();
    if (wasBusy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return escapeAnswer(buttons);
    }
}

std::optional<QString> QtPrompts::input(const QString& prompt, const QString& title,
                                        const QString& proposal) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt,
                                               QLineEdit::Normal, proposal, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void QtPrompts::setBusy(bool busy) {
    if (busy) {
        if (busyDepth_++ == 0)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0 && --busyDepth_ == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void QtPrompts::processEvents() {
    QApplication::processEvents();
}
