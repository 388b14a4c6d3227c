#include "print/PagedPrintSurface.h"

void PagedPrintSurface::print(const QString& text, bool endLine) {
    // A line that would run past the bottom continues at the top of the next page; a page
    // that cannot hold even one line keeps it, so a tiny page never loops.
    if (y_ > 0 && y_ + lineHeight() > height_) {
        const int x = x_;
        newPage();
        x_ = x;
    }
    if (!text.isEmpty()) {
        drawText(x_, y_, text);
        x_ += textWidth(text);
    }
    if (endLine) {
        x_ = 0;
        y_ += lineHeight();
    }
}

void PagedPrintSurface::newPage() {
    startPage();
    ++page_;
    x_ = 0;
    y_ = 0;
}
