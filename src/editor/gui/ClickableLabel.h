#pragma once

#include <QLabel>

// A caption that answers clicks: the row numbers, the cam names, the format and stepper
// captions. A double click reports clicked (first press) then doubleClicked, never a second
// click, so a double click that opens an editor is not undone by a click after it.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickableLabel(const QString& text = QString(), QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
    bool afterDoubleClick_ = false;
};
