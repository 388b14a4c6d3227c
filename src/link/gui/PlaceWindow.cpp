#include "link/gui/PlaceWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
constexpr int TopMargin = 40;
}

void PlaceWindow(QWidget* window) {
    if (!window)
        return;
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(area.left() + (area.width() - size.width()) / 2, area.top() + TopMargin);
}
