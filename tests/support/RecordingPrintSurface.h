#pragma once

#include "print/PagedPrintSurface.h"

#include <QList>
#include <QString>
#include <QStringList>

// A print surface that draws nothing and records every mark with its page and position,
// so a test asserts geometry exactly. Its font is fixed-pitch: every character 120 twips
// wide, every line 240 high.
class RecordingPrintSurface : public PagedPrintSurface {
public:
    static constexpr int CharWidth = 120;
    static constexpr int LineHeight = 240;

    explicit RecordingPrintSurface(int pageWidth = 11906, int pageHeight = 16838)
        : PagedPrintSurface(pageWidth, pageHeight) {}

    struct Text {
        int page, x, y;
        QString text;
        bool bold;
    };
    struct Line {
        int page, x1, y1, x2, y2, width;
    };
    struct Rect {
        int page, x1, y1, x2, y2, width, fill;
    };

    void print(const QString& text, bool endLine) override;
    int textWidth(const QString& text) const override { return int(text.size()) * CharWidth; }
    int lineHeight() const override { return LineHeight; }

    QList<Text> texts;
    QList<Line> lines;
    QList<Rect> rects;
    int pagesStarted = 0; // new pages, by the caller or by a line that did not fit
    int jobsEnded = 0;
    bool failEndJob = false;

    // The text printed on each line, in order: the pieces printed between two line ends
    // joined (an ended empty line gives an empty entry).
    QStringList printedLines() const;
    // Pages in the job: the first plus every new page.
    int pages() const { return pagesStarted + 1; }

protected:
    void drawText(int x, int y, const QString& text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawRectangle(int x1, int y1, int x2, int y2) override;
    void startPage() override;
    bool finishJob() override;

private:
    QStringList lines_;
    QString open_;
    bool hasOpen_ = false;
};
