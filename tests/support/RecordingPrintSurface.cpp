#include "support/RecordingPrintSurface.h"

void RecordingPrintSurface::print(const QString& text, bool endLine) {
    PagedPrintSurface::print(text, endLine);
    open_ += text;
    hasOpen_ = true;
    if (endLine) {
        lines_.append(open_);
        open_.clear();
        hasOpen_ = false;
    }
}

QStringList RecordingPrintSurface::printedLines() const {
    QStringList all = lines_;
    if (hasOpen_)
        all.append(open_);
    return all;
}

void RecordingPrintSurface::drawText(int x, int y, const QString& text) {
    texts.append({page(), x, y, text, emphasis()});
}

void RecordingPrintSurface::drawLine(int x1, int y1, int x2, int y2) {
    lines.append({page(), x1, y1, x2, y2, drawWidth()});
}

void RecordingPrintSurface::drawRectangle(int x1, int y1, int x2, int y2) {
    rects.append({page(), x1, y1, x2, y2, drawWidth(), fillStyle()});
}

void RecordingPrintSurface::startPage() {
    ++pagesStarted;
}

bool RecordingPrintSurface::finishJob() {
    ++jobsEnded;
    return !failEndJob;
}
