#include "flash/gui/FlashTextArea.h"

#include <QColor>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace {
// The window was laid out at 96 pixels per inch (15 twips per pixel): point sizes follow it.
constexpr int DotsPerMeter96Dpi = 3780;
} // namespace

FlashTextArea::FlashTextArea(QWidget* parent)
    : QWidget(parent), picture_(ClientWidth, ClientHeight, QImage::Format_RGB32) {
    picture_.setDotsPerMeterX(DotsPerMeter96Dpi);
    picture_.setDotsPerMeterY(DotsPerMeter96Dpi);
    picture_.fill(Qt::white);
    setFixedSize(picture_.size());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QFont FlashTextArea::FixedFont(const Style& style) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(style.points);
    font.setBold(style.bold);
    return font;
}

void FlashTextArea::drawText(int x, int y, const QString& text, const Style& style) {
    const QPoint corner(x, y);
    const auto old = drawnRects_.constFind(corner);
    // A field whose text did not change (the elapsed time within one second) is left as it is.
    if (old != drawnRects_.constEnd() && texts_.value(corner) == text)
        return;
    QPainter painter(&picture_);
    if (old != drawnRects_.constEnd()) {
        painter.fillRect(*old, Qt::white);
        update(*old);
    }
    painter.setFont(FixedFont(style));
    painter.setPen(QColor::fromRgb(style.rgb));
    const QRect wide(x, y, qMax(1, picture_.width() * 2), picture_.height());
    QRect used;
    painter.drawText(wide, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text, &used);
    drawnRects_.insert(corner, used);
    texts_.insert(corner, text);
    update(used);
}

void FlashTextArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), picture_, event->rect());
}
