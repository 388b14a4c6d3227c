#include "timing/gui/ShaftView.h"

#include "dialogs/gui/WindowGeometry.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamBarPainter.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

using namespace DiagramGeometry;
using WindowGeometry::TwipsToPixels;

namespace {
constexpr int Left = 24; // room for the row numbers
constexpr int Top = 18;  // room for the scale captions
constexpr int TenthsPerTurn = 3600;
const QColor CursorInk(0, 160, 0);

int barWidth() {
    return TwipsToPixels(BarTwips(1).width);
}
} // namespace

ShaftView::ShaftView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Shaft"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(sizeHint());
}

QColor ShaftView::AtSpeedInk() {
    return QColor(255, 120, 0);
}

QSize ShaftView::sizeHint() const {
    return {Left + barWidth() + 24, barBox(Rows).bottom() + 4};
}

QRect ShaftView::barBox(int row) const {
    const TwipsRect bar = BarTwips(row);
    return {Left, Top + TwipsToPixels(bar.top - BarTwips(1).top), barWidth(),
            TwipsToPixels(bar.height)};
}

int ShaftView::cursorX() const {
    const double scale = DegreeScale(barWidth(), CamBarMargin);
    return TenthsToX(Left, scale, int(cursor_ / 100) % TenthsPerTurn);
}

void ShaftView::setFormat(std::vector<uint8_t> degrees, const ShaftTiming::FormatTiming& timing) {
    degrees_ = std::move(degrees);
    atSpeed_.clear();
    for (const ShaftTiming::CamTiming& cam : timing.Cams) {
        std::vector<std::pair<int, int>> phases;
        for (const ShaftTiming::TimedPhase& p : cam.Phases)
            phases.emplace_back(p.OnAtSpeed, p.OffAtSpeed);
        atSpeed_.push_back(std::move(phases));
    }
    paintLayers();
    update();
}

void ShaftView::setCursor(long long angleMilli) {
    if (angleMilli == cursor_)
        return;
    cursor_ = angleMilli;
    update();
}

void ShaftView::resizeEvent(QResizeEvent*) {
    paintLayers();
}

void ShaftView::paintLayers() {
    layers_ = QPixmap(size() * devicePixelRatioF());
    layers_.setDevicePixelRatio(devicePixelRatioF());
    layers_.fill(palette().window().color());
    QPainter painter(&layers_);
    const double scale = DegreeScale(barWidth(), CamBarMargin);
    painter.setPen(palette().windowText().color());
    PaintScaleCaptions(painter, Left, scale, Top - 2);
    const int cams = int(degrees_.size() / CamProgram::Degrees);
    for (int row = 1; row <= Rows; ++row) {
        const QRect box = barBox(row);
        const BarBox bar{box.x(), box.y(), box.width(), box.height()};
        painter.setPen(palette().windowText().color());
        if (row <= cams) {
            painter.drawText(QRect(0, box.y() - 4, Left - 4, box.height() + 8),
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(row));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
        PaintCamBar(painter, bar, scale,
                    row <= cams ? degrees_.data() + (row - 1) * CamProgram::Degrees : nullptr,
                    false);
        if (row > cams || std::size_t(row) > atSpeed_.size())
            continue;
        // Each phase at speed from where it switches on to its last degree before it switches
        // off, over the programmed bars; one through 360 is drawn in its two pieces.
        painter.setPen(AtSpeedInk());
        painter.setBrush(Qt::NoBrush);
        const Span band = RowBand(bar, CamBarMargin);
        auto outline = [&](int from, int to) {
            const int x0 = TenthsToX(Left, scale, from);
            const int x1 = std::max(x0, TenthsToX(Left, scale, to));
            painter.drawRect(QRect(QPoint(x0, band.first - 1), QPoint(x1, band.last + 1)));
        };
        for (const auto& [on, off] : atSpeed_[std::size_t(row - 1)]) {
            const int last = (off + TenthsPerTurn - 10) % TenthsPerTurn;
            if (on == off) // on all round
                outline(0, LastDegree * 10);
            else if (last >= on)
                outline(on, last);
            else {
                outline(on, LastDegree * 10);
                outline(0, last);
            }
        }
    }
}

void ShaftView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, layers_);
    const int x = cursorX();
    painter.fillRect(QRect(x - 1, Top - 2, 2, barBox(Rows).bottom() - Top + 4), CursorInk);
}

void ShaftView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        emit stepRequested(event->key() == Qt::Key_Left ? -1 : 1);
        return;
    }
    QWidget::keyPressEvent(event);
}
