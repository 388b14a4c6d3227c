#pragma once

#include <QWidget>

// Picture1: the two-arrow stepper under "- FORM +". A press on the left half asks for the
// previous format, on the right half for the next; the pressed half is drawn pushed until
// the button is released. The stepper keeps no drawing: it paints its state on each request.
class FormatStepper : public QWidget {
    Q_OBJECT
public:
    enum class Half { None, Left, Right };

    explicit FormatStepper(QWidget* parent = nullptr);

    // DrawStepper: shows one half pushed (or none).
    void drawStepper(Half pressed);

signals:
    void previousRequested();
    void nextRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Half pressed_ = Half::None;
};
