#include "timing/gui/OutputLamps.h"

#include <QPainter>

namespace {
constexpr int PerLine = 8;
constexpr int CellWidth = 118;
constexpr int CellHeight = 22;
constexpr int Lamp = 14;
const QColor LitInk(255, 40, 0);
const QColor DarkInk(90, 40, 30);
} // namespace

OutputLamps::OutputLamps(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Lamps"));
}

QSize OutputLamps::sizeHint() const {
    const int lines = std::max(1, (int(names_.size()) + PerLine - 1) / PerLine);
    return {PerLine * CellWidth, lines * CellHeight + 4};
}

void OutputLamps::setCams(const QStringList& names) {
    if (names == names_)
        return;
    names_ = names;
    lit_.assign(std::size_t(names.size()), false);
    updateGeometry();
    update();
}

void OutputLamps::setLit(const std::vector<bool>& lit) {
    if (lit == lit_)
        return;
    lit_ = lit;
    update();
}

QRect OutputLamps::cell(int index) const {
    return {(index % PerLine) * CellWidth, 2 + (index / PerLine) * CellHeight, CellWidth,
            CellHeight};
}

void OutputLamps::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    for (int i = 0; i < names_.size(); ++i) {
        const QRect c = cell(i);
        const bool on = std::size_t(i) < lit_.size() && lit_[std::size_t(i)];
        painter.setPen(Qt::black);
        painter.setBrush(on ? LitInk : DarkInk);
        painter.drawEllipse(QRect(c.x() + 2, c.y() + (CellHeight - Lamp) / 2, Lamp, Lamp));
        painter.setPen(palette().windowText().color());
        const QRect text = c.adjusted(Lamp + 6, 0, -2, 0);
        const QString label =
            QStringLiteral("%1 ").arg(i + 1, 2, 10, QLatin1Char('0')) + names_.at(i).trimmed();
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(label, Qt::ElideRight, text.width()));
    }
}
