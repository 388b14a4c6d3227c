#include "link/gui/DrawProgress.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

void PaintProgress(QPainter& painter, const QRect& bar, int percent) {
    if (bar.isEmpty())
        return;
    const int shown = std::clamp(percent, 0, 100);
    // The inverting pen works pixel by pixel, which only a raster image guarantees on
    // every paint device (a printer or an accelerated surface would ignore it): the bar is
    // composed in an image and copied.
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        // Plain pixels, no smoothing: the inversion then turns every figure pixel exactly
        // from blue to white.
        QFont font = painter.font();
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        p.setPen(QColor(0, 0, 255));
        p.drawText(QRect(QPoint(0, 0), bar.size()), Qt::AlignCenter,
                   QString::number(percent) + QLatin1Char('%'));
        const int filled = bar.width() * shown / 100;
        if (filled > 0) {
            p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            p.fillRect(QRect(0, 0, filled, bar.height()), QColor(0, 0, 255));
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    painter.drawImage(bar.topLeft(), image);
}

ProgressBarWidget::ProgressBarWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Barra"));
    setMinimumHeight(20);
}

void ProgressBarWidget::setPercent(int percent) {
    percent_ = percent;
    update();
}

void ProgressBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintProgress(painter, rect(), percent_);
}

void DrawProgress(ProgressBarWidget& bar, int percent) {
    bar.setVisible(true);
    bar.setPercent(percent);
    bar.repaint();
}
