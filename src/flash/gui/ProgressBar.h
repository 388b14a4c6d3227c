#pragma once

#include <QWidget>

// Barra: a percentage bar, white with the percentage written in blue in its middle; the
// done part is blue with the text white, so the figure stays readable as the bar passes it.
class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);
    void setPercent(int percent);
    int percent() const { return percent_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
};
