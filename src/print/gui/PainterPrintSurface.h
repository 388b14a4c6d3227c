#pragma once

#include "print/PagedPrintSurface.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPrinter;

// The print surface on a QPrinter (a printer or a PDF file): the painter works in twips from
// the top-left corner of the printable area, with a 10 point fixed-pitch font so the columns
// of a listing stay in line. Emphasis is bold.
class PainterPrintSurface : public PagedPrintSurface {
public:
    // Starts painting on printer. Null, with a reason in error, when it cannot start (a PDF
    // file that cannot be written, a printer that is gone).
    static std::unique_ptr<PainterPrintSurface> Begin(QPrinter& printer, QString* error);
    ~PainterPrintSurface() override;

    int textWidth(const QString& text) const override;
    int lineHeight() const override { return lineHeight_; }

protected:
    void drawText(int x, int y, const QString& text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawRectangle(int x1, int y1, int x2, int y2) override;
    void startPage() override;
    bool finishJob() override;

private:
    PainterPrintSurface(QPrinter& printer, int pageWidth, int pageHeight);
    void usePen();

    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    int lineHeight_ = 240;
    int ascent_ = 180;
    bool ended_ = false;
};
