#pragma once

#include <QWidget>

class QPainter;

// The percentage bar of the transfer and flash windows: white, the percentage in blue in
// the middle, and the bar drawn over it inverting what it covers, so the figure stays
// readable in white on blue where the bar has passed.
void PaintProgress(QPainter& painter, const QRect& bar, int percent);

// The bar element ("Barra") of a window: it keeps its percentage and paints it.
class ProgressBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBarWidget(QWidget* parent = nullptr);
    int percent() const { return percent_; }
    void setPercent(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
};

// Shows the bar and draws it at percent now, without waiting for the event loop: the
// transfers run inside their window's handler.
void DrawProgress(ProgressBarWidget& bar, int percent);
