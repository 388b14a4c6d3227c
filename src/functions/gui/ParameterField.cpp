#include "functions/gui/ParameterField.h"

#include "functions/FunctionRules.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

ParameterField::ParameterField(int field, int width, QWidget* parent)
    : QLineEdit(parent), field_(field), width_(width) {
    setObjectName(QStringLiteral("PARAM(%1)").arg(field));
    setMaxLength(width);
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    setFont(fixed);
    setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * (width + 2) + 12);
}

long long ParameterField::value() const {
    return FunctionRules::FieldValue(text());
}

void ParameterField::setValue(long long value) {
    setText(FunctionRules::PadToWidth(value, width_));
}

void ParameterField::cutToMaximum() {
    if (value() > maximum_)
        setValue(maximum_);
}

bool ParameterField::event(QEvent* event) {
    // Tab never reaches keyPressEvent: the focus chain takes it first.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            cutToMaximum();
            deselect();
        }
    }
    return QLineEdit::event(event);
}

void ParameterField::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter stays in the field: it only settles the value.
        cutToMaximum();
        deselect();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool digit =
        typed.size() == 1 && typed[0] >= QLatin1Char('0') && typed[0] <= QLatin1Char('9');
    if (digit && !hasSelectedText() && text().size() >= width_) {
        selectAll();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ParameterField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit focusEntered(this);
    selectAll();
    // A mouse click places the cursor after the focus arrives; select once it has.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus())
            selectAll();
    });
}

void ParameterField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit focusLeft(this);
}
