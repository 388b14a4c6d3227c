#include "compare/gui/CamPairView.h"

#include "dialogs/gui/WindowGeometry.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamBarPainter.h"

#include <QPainter>

#include <algorithm>

using namespace DiagramGeometry;
using WindowGeometry::TwipsToPixels;

namespace {
constexpr int Left = 24; // room for the "A" and "B" captions
constexpr int Top = 18;  // room for the scale captions
constexpr int StripHeight = 5;
constexpr int Gap = 3;
const QColor Red(255, 0, 0);

int barWidth() {
    return TwipsToPixels(BarTwips(1).width);
}
int barHeight() {
    return TwipsToPixels(BarTwips(1).height);
}
} // namespace

CamPairView::CamPairView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Rows"));
    setMinimumSize(sizeHint());
}

QSize CamPairView::sizeHint() const {
    return {Left + barWidth() + 24, strip().bottom() + Gap + barHeight() + 4};
}

QRect CamPairView::barA() const {
    return {Left, Top, barWidth(), barHeight()};
}
QRect CamPairView::strip() const {
    return {Left, Top + barHeight() + Gap, barWidth(), StripHeight};
}
QRect CamPairView::barB() const {
    return {Left, strip().bottom() + 1 + Gap, barWidth(), barHeight()};
}

void CamPairView::setCams(const uint8_t* a, const uint8_t* b) {
    std::copy(a, a + 360, a_.begin());
    std::copy(b, b + 360, b_.begin());
    shown_ = true;
    update();
}

void CamPairView::clearCams() {
    shown_ = false;
    update();
}

void CamPairView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const double scale = DegreeScale(barWidth(), CamBarMargin);
    painter.setPen(palette().windowText().color());
    PaintScaleCaptions(painter, Left, scale, Top - 2);
    for (const auto& [box, caption] : {std::pair{barA(), "A"}, std::pair{barB(), "B"}}) {
        painter.drawText(QRect(0, box.y() - 4, Left - 4, box.height() + 8),
                         Qt::AlignRight | Qt::AlignVCenter, QLatin1String(caption));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    }
    const QRect a = barA();
    const QRect b = barB();
    PaintCamBar(painter, BarBox{a.x(), a.y(), a.width(), a.height()}, scale,
                shown_ ? a_.data() : nullptr, false);
    PaintCamBar(painter, BarBox{b.x(), b.y(), b.width(), b.height()}, scale,
                shown_ ? b_.data() : nullptr, false);
    if (!shown_)
        return;
    const QRect s = strip();
    for (int d = 0; d < 360; ++d) {
        if (a_[std::size_t(d)] == b_[std::size_t(d)])
            continue;
        const int x0 = DegreeToX(s.x(), scale, d);
        const int x1 = std::max(x0, DegreeToX(s.x(), scale, d + 1) - 1);
        painter.fillRect(QRect(QPoint(x0, s.top()), QPoint(x1, s.bottom())), Red);
    }
}
