#include "print/gui/PainterPrintSurface.h"

#include <QFontMetricsF>
#include <QPrinter>

#include <cmath>

namespace {
constexpr double TwipsPerPoint = 20.0;
constexpr int FontTwips = 200; // 10 point: 12 characters to the inch
// Pen width per unit of the width attribute: 2 draws a hairline-thin frame, 4 a bold bar.
constexpr double PenTwipsPerUnit = 7.5;
} // namespace

std::unique_ptr<PainterPrintSurface> PainterPrintSurface::Begin(QPrinter& printer, QString* error) {
    const QRectF page = printer.pageRect(QPrinter::Point);
    std::unique_ptr<PainterPrintSurface> surface(
        new PainterPrintSurface(printer, int(std::lround(page.width() * TwipsPerPoint)),
                                int(std::lround(page.height() * TwipsPerPoint))));
    if (!surface->painter_.begin(&printer)) {
        if (error) {
            *error = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                   : printer.printerName();
        }
        surface->ended_ = true;
        return nullptr;
    }
    const double scale = printer.resolution() / 1440.0;
    surface->painter_.scale(scale, scale);
    surface->painter_.setFont(surface->font_);
    const QFontMetricsF metrics = surface->painter_.fontMetrics();
    surface->lineHeight_ = int(std::ceil(metrics.lineSpacing()));
    surface->ascent_ = int(std::lround(metrics.ascent()));
    return surface;
}

PainterPrintSurface::PainterPrintSurface(QPrinter& printer, int pageWidth, int pageHeight)
    : PagedPrintSurface(pageWidth, pageHeight), printer_(printer) {
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
    printer_.newPage();
}

bool PainterPrintSurface::finishJob() {
    if (ended_)
        return false;
    ended_ = true;
    return painter_.end();
}
