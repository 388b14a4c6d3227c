#pragma once

// How the cam editor puts its controls on the design layout: shared by the files that build them.
#include "editor/DiagramGeometry.h"
#include "dialogs/gui/WindowGeometry.h"

#include <QFont>
#include <QFontDatabase>
#include <QRect>
#include <QString>
#include <QWidget>

namespace CamEditorLayout {

// Asks the main window's one-time scaling to leave the control hidden: these open on demand.
inline void hideUntilOpened(QWidget* w) {
    w->setProperty(WindowGeometry::HiddenAtStart, true);
    w->hide();
}

inline void place(QWidget* w, const DiagramGeometry::TwipsRect& r) {
    using WindowGeometry::TwipsToPixels;
    w->setGeometry(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                   TwipsToPixels(r.height));
}

inline QFont fixedFont(int pixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
    return font;
}

inline QFont captionFont(const QWidget* w, int pixels) {
    QFont font = w->font();
    font.setPixelSize(pixels);
    return font;
}

inline QRect toRect(const DiagramGeometry::BarBox& b) {
    return QRect(b.left, b.top, b.width, b.height);
}

inline QRect toRect(const DiagramGeometry::PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}

} // namespace CamEditorLayout
