#pragma once

#include "print/PrintSurface.h"

// The text flow shared by every real and recording surface: current position, line ends,
// automatic page breaks and the drawing attributes. A subclass only puts marks on paper.
class PagedPrintSurface : public PrintSurface {
public:
    PagedPrintSurface(int pageWidth, int pageHeight) : width_(pageWidth), height_(pageHeight) {}

    int pageWidth() const override { return width_; }
    int pageHeight() const override { return height_; }
    int currentX() const override { return x_; }
    int currentY() const override { return y_; }
    void setCurrentX(int x) override { x_ = x; }
    void setCurrentY(int y) override { y_ = y; }

    void print(const QString& text, bool endLine) override;

    bool emphasis() const override { return emphasis_; }
    void setEmphasis(bool on) override { emphasis_ = on; }
    int drawWidth() const override { return drawWidth_; }
    void setDrawWidth(int width) override { drawWidth_ = width; }
    int fillStyle() const override { return fillStyle_; }
    void setFillStyle(int style) override { fillStyle_ = style; }

    void line(int x1, int y1, int x2, int y2) override { drawLine(x1, y1, x2, y2); }
    void rectangle(int x1, int y1, int x2, int y2) override { drawRectangle(x1, y1, x2, y2); }

    void newPage() override;
    bool endJob() override { return finishJob(); }

    int page() const { return page_; }

protected:
    virtual void drawText(int x, int y, const QString& text) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    virtual void drawRectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void startPage() = 0;
    virtual bool finishJob() = 0;

private:
    int width_;
    int height_;
    int x_ = 0;
    int y_ = 0;
    int page_ = 1;
    bool emphasis_ = false;
    int drawWidth_ = 1;
    int fillStyle_ = 1;
};
