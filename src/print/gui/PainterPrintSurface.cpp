#include "print/gui/PainterPrintSurface.h"

#include "model/FileAccess.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <cmath>

namespace {
constexpr double TwipsPerPoint = 20.0;
constexpr int FontTwips = 200; // 10 point: 12 characters to the inch
// Pen width per unit of the width attribute: 2 draws a hairline-thin frame, 4 a bold bar.
constexpr double PenTwipsPerUnit = 7.5;
} // namespace

// The PDF job's file: the pages go into memory and the save file takes them at the end.
struct PainterPrintSurface::PdfFile {
    explicit PdfFile(const QString& path) : file(path), writer(&buffer) {}
    QSaveFile file;
    QBuffer buffer;
    QPdfWriter writer;
};

namespace {
int twips(double points) {
    return int(std::lround(points * TwipsPerPoint));
}
} // namespace

std::unique_ptr<PainterPrintSurface> PainterPrintSurface::Begin(QPrinter& printer, QString* error) {
    const QRectF page = printer.pageRect(QPrinter::Point);
    std::unique_ptr<PainterPrintSurface> surface(
        new PainterPrintSurface(printer, twips(page.width()), twips(page.height())));
    if (!surface->painter_.begin(&printer)) {
        if (error) {
            *error = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                   : printer.printerName();
        }
        surface->ended_ = true;
        return nullptr;
    }
    surface->startPainting(printer.resolution());
    return surface;
}

std::unique_ptr<PainterPrintSurface>
PainterPrintSurface::BeginPdf(const QString& path, const QPageLayout& layout, int resolution,
                              const QString& title, QString* error) {
    auto pdf = std::make_unique<PdfFile>(path);
    // Opened now, so a file that cannot be written is refused before any page is made; the
    // save file is private and unnamed until the job commits it.
    if (!pdf->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !pdf->buffer.open(QIODevice::WriteOnly)) {
        if (error)
            *error = path + QStringLiteral(": ") + pdf->file.errorString();
        return nullptr;
    }
    pdf->writer.setPageLayout(layout);
    pdf->writer.setResolution(resolution);
    pdf->writer.setTitle(title);
    pdf->writer.setCreator(QStringLiteral("q517"));
    QPagedPaintDevice& device = pdf->writer;
    const QRectF page = layout.paintRect(QPageLayout::Point);
    std::unique_ptr<PainterPrintSurface> surface(
        new PainterPrintSurface(device, twips(page.width()), twips(page.height()), std::move(pdf)));
    if (!surface->painter_.begin(&device)) {
        if (error)
            *error = path;
        surface->ended_ = true;
        return nullptr;
    }
    surface->startPainting(resolution);
    return surface;
}

void PainterPrintSurface::startPainting(int resolution) {
    const double scale = resolution / 1440.0;
    painter_.scale(scale, scale);
    painter_.setFont(font_);
    const QFontMetricsF metrics = painter_.fontMetrics();
    lineHeight_ = int(std::ceil(metrics.lineSpacing()));
    ascent_ = int(std::lround(metrics.ascent()));
}

PainterPrintSurface::PainterPrintSurface(QPagedPaintDevice& device, int pageWidth, int pageHeight,
                                         std::unique_ptr<PdfFile> pdf)
    : PagedPrintSurface(pageWidth, pageHeight), device_(device), pdf_(std::move(pdf)) {
    font_ = QFont(QStringLiteral("DejaVu Sans Mono"));
    font_.setStyleHint(QFont::TypeWriter);
    font_.setFixedPitch(true);
    font_.setPixelSize(FontTwips);
}

PainterPrintSurface::~PainterPrintSurface() {
    if (!ended_)
        painter_.end();
}

int PainterPrintSurface::textWidth(const QString& text) const {
    QFont font = font_;
    font.setBold(emphasis());
    return int(std::lround(QFontMetricsF(font, painter_.device()).horizontalAdvance(text)));
}

void PainterPrintSurface::drawText(int x, int y, const QString& text) {
    QFont font = font_;
    font.setBold(emphasis());
    painter_.setFont(font);
    painter_.setPen(Qt::black);
    painter_.drawText(QPointF(x, y + ascent_), text);
}

void PainterPrintSurface::usePen() {
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1, drawWidth()) * PenTwipsPerUnit);
    painter_.setPen(pen);
}

void PainterPrintSurface::drawLine(int x1, int y1, int x2, int y2) {
    usePen();
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterPrintSurface::drawRectangle(int x1, int y1, int x2, int y2) {
    usePen();
    // The track frame stays hollow; a bar is filled so it stands out inside it.
    painter_.setBrush(fillStyle() == 1 ? QBrush(Qt::NoBrush) : QBrush(Qt::black));
    painter_.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
    painter_.setBrush(Qt::NoBrush);
}

void PainterPrintSurface::startPage() {
    device_.newPage();
}

bool PainterPrintSurface::finishJob() {
    if (ended_)
        return false;
    ended_ = true;
    const bool painted = painter_.end();
    if (!pdf_)
        return painted;
    if (!painted) {
        failure_ = pdf_->file.fileName() + QStringLiteral(": the pages could not be made");
        pdf_->file.cancelWriting();
        return false;
    }
    return publishPdf();
}

bool PainterPrintSurface::publishPdf() {
    QSaveFile& file = pdf_->file;
    if (!FileAccess::WriteAll(file, pdf_->buffer.data())) {
        failure_ = file.fileName() + QStringLiteral(": ") + FileAccess::WriteCause(file);
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        failure_ = file.fileName() + QStringLiteral(": ") + FileAccess::WriteCause(file);
        return false;
    }
    return true;
}
