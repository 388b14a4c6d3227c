#pragma once

#include <QString>

// The page the listings and diagrams are drawn on, in twips (1/1440 inch) from the top-left
// corner of the printable area. Text flows like a line printer: it starts at the current
// position, either continues the line or ends it, and a line that would pass the bottom of
// the page continues on the next one.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;

    virtual int currentX() const = 0;
    virtual int currentY() const = 0;
    virtual void setCurrentX(int x) = 0;
    virtual void setCurrentY(int y) = 0;

    // Prints text at the current position. With endLine the position goes to the start of
    // the next line; otherwise it stays just after the text, on the same line.
    virtual void print(const QString& text, bool endLine) = 0;
    void endLine() { print(QString(), true); }
    // The width text would take on the page.
    virtual int textWidth(const QString& text) const = 0;
    virtual int lineHeight() const = 0;

    // Emphasis (bold) for the text printed from now on.
    virtual bool emphasis() const = 0;
    virtual void setEmphasis(bool on) = 0;

    // Two drawing attributes for lines and rectangles: the pen width (1 thinnest) and the
    // fill of rectangles (1 hollow, anything else filled).
    virtual int drawWidth() const = 0;
    virtual void setDrawWidth(int width) = 0;
    virtual int fillStyle() const = 0;
    virtual void setFillStyle(int style) = 0;

    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // A rectangle with corners (x1, y1) and (x2, y2), outlined and filled by fillStyle.
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;

    virtual void newPage() = 0;
    // Sends the pages. False when the output could not be completed.
    virtual bool endJob() = 0;
};
