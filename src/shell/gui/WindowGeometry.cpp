#include "shell/gui/WindowGeometry.h"

#include <QScreen>
#include <QWidget>

namespace WindowGeometry {

void CenterWindow(QWidget* window) {
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

static void scaleChildren(QWidget* parent, double factor, bool makeVisible) {
    const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        // Only absolutely placed controls carry design geometry; a layout places the rest.
        if (!parent->layout()) {
            const QRect g = child->geometry();
            child->setGeometry(int(g.x() * factor + 0.5), int(g.y() * factor + 0.5),
                               int(g.width() * factor + 0.5), int(g.height() * factor + 0.5));
            QFont font = child->font();
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * factor);
            else if (font.pixelSize() > 0)
                font.setPixelSize(int(font.pixelSize() * factor + 0.5));
            child->setFont(font);
            if (makeVisible && child->property("q517HiddenAtStart").toBool() == false)
                child->setVisible(true);
        }
        scaleChildren(child, factor, makeVisible);
    }
}

void ScaleWindow(QWidget* window, double factor, bool makeVisible) {
    if (factor <= 0)
        return;
    scaleChildren(window, factor, makeVisible);
}

} // namespace WindowGeometry
