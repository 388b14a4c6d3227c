#include "editor/gui/CamBarPainter.h"

#include "editor/CamRowWalk.h"

#include <QPainter>

#include <algorithm>

using namespace DiagramGeometry;

QColor CamBarBackground(bool current) {
    return current ? QColor(255, 255, 0) : QColor(255, 255, 255);
}

QColor CamBarInk(bool current) {
    return current ? QColor(0, 0, 255) : QColor(0, 0, 0);
}

void PaintScaleCaptions(QPainter& painter, int barLeft, double degreeScale, int height) {
    for (int i = 0; i <= 4; ++i) {
        const int x = DegreeToX(barLeft, degreeScale, std::min(i * 90, LastDegree));
        painter.drawText(QRect(x - 20, 0, 40, height), Qt::AlignHCenter | Qt::AlignBottom,
                         QString::number(i * 90));
    }
}

void PaintCamBar(QPainter& painter, const BarBox& bar, double degreeScale, const uint8_t* degrees,
                 bool current) {
    const Span band = RowBand(bar, CamBarMargin);
    auto fill = [&](const Span& x, const QColor& colour) {
        painter.fillRect(QRect(QPoint(x.first, band.first), QPoint(x.last, band.last)), colour);
    };
    if (!degrees) {
        fill(BlankRowSpan(bar, CamBarMargin), CamBarBackground(false));
        return;
    }
    fill(BackgroundSpan(bar, CamBarMargin), CamBarBackground(current));
    const QColor ink = CamBarInk(current);
    for (const PaintedRun& run : WalkCamRow(degrees, false).runs)
        fill(RunSpan(bar, degreeScale, CamBarMargin, run.place, run.first, run.last), ink);
}
