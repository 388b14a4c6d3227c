#include "print/gui/PainterPrintSurface.h"

#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

static void pdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

class PdfOutputTest : public QObject {
    Q_OBJECT
private slots:
    void pageInTwipsAndFixedPitch() {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, dir.filePath(QStringLiteral("page.pdf")));
        QString error;
        auto surface = PainterPrintSurface::Begin(printer, &error);
        QVERIFY(surface);
        // A4 less 10 mm on each side: 190 x 277 mm (the page size is kept in whole points).
        QVERIFY(qAbs(surface->pageWidth() - 10772) <= 20);
        QVERIFY(qAbs(surface->pageHeight() - 15704) <= 20);
        // Ten point fixed pitch: 12 characters to the inch, the same for any text.
        QVERIFY(qAbs(surface->textWidth(QString(12, QLatin1Char('W'))) - 1440) <= 12);
        QCOMPARE(surface->textWidth(QStringLiteral("iiii")),
                 surface->textWidth(QStringLiteral("MMMM")));
        QVERIFY(surface->lineHeight() >= 200 && surface->lineHeight() <= 300);
        QVERIFY(surface->endJob());
    }

    void unwritableFileIsRefused() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("missing/dir/out.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        QString error;
        QVERIFY(!PainterPrintSurface::Begin(printer, &error));
        QCOMPARE(error, pdf);
    }
};

QTEST_MAIN(PdfOutputTest)
#include "tst_pdfoutput.moc"
