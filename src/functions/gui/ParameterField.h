#pragma once

#include <QLineEdit>

// PARAM(n): a numeric field of the function parameters window. It takes digits only, up to
// its width; a digit typed into a full field is refused and selects the whole text, so the
// next digit starts a new value. Tab and Enter cut a value above the maximum to the
// maximum; the window is told when the field gains and loses the focus.
class ParameterField : public QLineEdit {
    Q_OBJECT
public:
    ParameterField(int field, int width, QWidget* parent = nullptr);

    int field() const { return field_; }
    int width() const { return width_; }
    int maximum() const { return maximum_; }
    void setMaximum(int maximum) { maximum_ = maximum; }

    long long value() const;
    // Shows value zero-padded to the field's width.
    void setValue(long long value);
    // A value above the maximum becomes the maximum, zero-padded.
    void cutToMaximum();

signals:
    void focusEntered(ParameterField* field);
    void focusLeft(ParameterField* field);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int field_;
    int width_;
    int maximum_ = 999;
};
