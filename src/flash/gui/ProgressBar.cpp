#include "flash/gui/ProgressBar.h"

#include <QPainter>

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {}

void ProgressBar::setPercent(int percent) {
    percent_ = qBound(0, percent, 100);
    update();
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    const QString text = QString::number(percent_) + QLatin1Char('%');
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::blue);
    painter.drawText(area, Qt::AlignCenter, text);
    const QRect done(area.left(), area.top(), area.width() * percent_ / 100, area.height());
    painter.fillRect(done, Qt::blue);
    painter.setClipRect(done);
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter, text);
}
