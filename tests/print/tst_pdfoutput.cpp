#include "model/CamProgram.h"
#include "print/PrintJob.h"
#include "print/gui/PainterPrintSurface.h"

#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Runs a poppler tool and returns its standard output.
static QString runTool(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of a PDF as read back, each line with its runs of blanks made single: the
// reading keeps the columns only roughly.
static QStringList pdfLines(const QString& pdf) {
    QStringList lines;
    const QString text =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines << line.simplified();
    return lines;
}

static int pdfPages(const QString& pdf) {
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

static void pdfPrinter(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

class PdfOutputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            QSKIP("poppler-utils (tools/setup.sh) is not installed");
    }

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

    void listingTextReadsBack() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("listing.pdf"));
        CamProgram program;
        program.SetCamName(1, QStringLiteral("PRESS"));
        for (int a = 0; a < 360; ++a) {
            const bool on = a >= 350 || a <= 9 || (a >= 100 && a <= 199);
            program.WriteDegree(2, 1, a, on ? 1 : 0);
        }
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        auto surface = PainterPrintSurface::Begin(printer, nullptr);
        QVERIFY(surface);
        QVERIFY(PrintJob::Print(*surface, program, {true, 1, false}));
        surface.reset();
        QCOMPARE(pdfPages(pdf), 6);
        const QStringList lines = pdfLines(pdf);
        for (const char* expected :
             {"517Q06 FORMATO N. 01", "517Q06 FORMATO N. 02", "517Q06 FORMATO N. 06",
              "C 01 \"PRESS\"", "350 010 - 100 200", "C 24"})
            QVERIFY2(lines.contains(QLatin1String(expected)), expected);
    }

    void diagramOnePagePerFormat() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("diagram.pdf"));
        CamProgram program;
        QVERIFY(program.Reconfigure(16, 10, false));
        QPrinter printer(QPrinter::HighResolution);
        pdfPrinter(printer, pdf);
        auto surface = PainterPrintSurface::Begin(printer, nullptr);
        QVERIFY(surface);
        QVERIFY(PrintJob::Print(*surface, program, {true, 1, true}));
        surface.reset();
        QCOMPARE(pdfPages(pdf), 10);
        const QStringList lines = pdfLines(pdf);
        QVERIFY(lines.contains(QStringLiteral("C16 -10 FORMATO N. 10")));
        QVERIFY(lines.contains(QStringLiteral("045 090 135 180 225 270 315")));
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
