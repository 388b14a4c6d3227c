#pragma once

#include "print/PagedPrintSurface.h"

#include <QFont>
#include <QPainter>

#include <memory>

class QPageLayout;
class QPagedPaintDevice;
class QPrinter;

// The print surface on a printer or a PDF file: the painter works in twips from the top-left
// corner of the printable area, with a 10 point fixed-pitch font so the columns of a listing
// stay in line. Emphasis is bold.
class PainterPrintSurface : public PagedPrintSurface {
public:
    // Starts painting on printer. Null, with a reason in error, when it cannot start (a PDF
    // file that cannot be written, a printer that is gone).
    static std::unique_ptr<PainterPrintSurface> Begin(QPrinter& printer, QString* error);
    // Starts a PDF file at path. The pages are made in memory and take the file's place in
    // one step when the job ends, so a job that fails (a full disk) leaves an earlier file
    // whole and no partial file anywhere. Null, with the reason in error, when path cannot
    // be written at all.
    static std::unique_ptr<PainterPrintSurface> BeginPdf(const QString& path,
                                                         const QPageLayout& layout, int resolution,
                                                         const QString& title, QString* error);
    ~PainterPrintSurface() override;

    // Why endJob failed: the file and the system's reason; empty when it did not.
    const QString& failure() const { return failure_; }

    int textWidth(const QString& text) const override;
    int lineHeight() const override { return lineHeight_; }

protected:
    void drawText(int x, int y, const QString& text) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawRectangle(int x1, int y1, int x2, int y2) override;
    void startPage() override;
    bool finishJob() override;

private:
    struct PdfFile;

    PainterPrintSurface(QPagedPaintDevice& device, int pageWidth, int pageHeight,
                        std::unique_ptr<PdfFile> pdf = nullptr);
    void startPainting(int resolution);
    void usePen();
    bool publishPdf();

    QPagedPaintDevice& device_;
    std::unique_ptr<PdfFile> pdf_; // before painter_: the painter ends first
    QPainter painter_;
    QFont font_;
    int lineHeight_ = 240;
    int ascent_ = 180;
    bool ended_ = false;
    QString failure_;
};
