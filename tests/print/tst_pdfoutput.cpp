#include "print/gui/PainterPrintSurface.h"

#include <QDir>
#include <QFile>
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
        QVERIFY(!PainterPrintSurface::BeginPdf(pdf, printer.pageLayout(), 1200, QString(), &error));
        QCOMPARE(error, pdf + QStringLiteral(": No such file or directory"));
    }

    // The PDF file made in memory has the printer's page: the same geometry as on a printer.
    void pdfInMemoryHasThePrintersPage() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, dir.filePath(QStringLiteral("other.pdf")));
        QString error;
        auto onPrinter = PainterPrintSurface::Begin(printer, &error);
        auto inMemory = PainterPrintSurface::BeginPdf(pdf, printer.pageLayout(),
                                                      printer.resolution(), QString(), &error);
        QVERIFY(onPrinter && inMemory);
        QCOMPARE(inMemory->pageWidth(), onPrinter->pageWidth());
        QCOMPARE(inMemory->pageHeight(), onPrinter->pageHeight());
        QCOMPARE(inMemory->lineHeight(), onPrinter->lineHeight());
        QVERIFY(!QFile::exists(pdf)); // nothing under the name before the job ends
        QVERIFY(inMemory->endJob());
        QVERIFY(inMemory->failure().isEmpty());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5).startsWith("%PDF-"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"other.pdf", "page.pdf"}));
    }
};

QTEST_MAIN(PdfOutputTest)
#include "tst_pdfoutput.moc"
