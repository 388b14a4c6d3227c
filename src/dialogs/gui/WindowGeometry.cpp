#include "dialogs/gui/WindowGeometry.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace WindowGeometry {

void CenterWindow(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

namespace {
struct Placed {
    QWidget* widget;
    QRect geometry;
    QFont font;
};

// Only absolutely placed controls carry design geometry; a layout places the rest, but
// their children may again be placed by hand.
void collectPlaced(QWidget* parent, QList<Placed>& placed) {
    const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        if (!parent->layout())
            placed.append({child, child->geometry(), child->font()});
        // A list, spin box or combo box places (and shows or hides) its own inner parts.
        if (!qobject_cast<QAbstractScrollArea*>(child) && !qobject_cast<QAbstractSpinBox*>(child) &&
            !qobject_cast<QComboBox*>(child))
            collectPlaced(child, placed);
    }
}

int scaled(int value, double factor) {
    return int(value * factor + 0.5);
}
} // namespace

void KeepTitleWhole(QWidget* window) {
    QFont font = window->font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    // The frame's icon and three buttons, each about a title bar high.
    const int frame = 4 * metrics.height() * 3 / 2;
    window->setMinimumWidth(
        std::max(window->minimumWidth(), metrics.horizontalAdvance(window->windowTitle()) + frame));
}

int PlacedBottom(const QWidget* window) {
    int bottom = 0;
    for (const QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            bottom = std::max(bottom, child->geometry().bottom() + 1);
    }
    return bottom;
}

void ScaleWindow(QWidget* window, double factor, bool makeVisible) {
    if (factor <= 0)
        return;
    // Every control's own design geometry and font are taken before anything changes: a
    // control inherits its font from its container, and scaling the container first must
    // not scale the control's font a second time.
    QList<Placed> placed;
    collectPlaced(window, placed);
    for (const Placed& p : std::as_const(placed)) {
        const QRect& g = p.geometry;
        p.widget->setGeometry(scaled(g.x(), factor), scaled(g.y(), factor),
                              scaled(g.width(), factor), scaled(g.height(), factor));
        QFont font = p.font;
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * factor);
        else if (font.pixelSize() > 0)
            font.setPixelSize(scaled(font.pixelSize(), factor));
        p.widget->setFont(font);
        if (makeVisible && !p.widget->property(HiddenAtStart).toBool())
            p.widget->setVisible(true);
    }
}

} // namespace WindowGeometry
