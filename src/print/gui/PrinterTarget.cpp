#include "print/gui/PrinterTarget.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "model/LanguageTexts.h"
#include "print/gui/PainterPrintSurface.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

PrinterTarget::PrinterTarget(QPrinter& printer, CommonDialog& dialog, Prompts& prompts,
                             const LanguageTexts& texts)
    : printer_(printer), dialog_(dialog), prompts_(prompts), texts_(texts) {}

PrinterTarget::~PrinterTarget() {
    surface_.reset();
    if (askedName_)
        printer_.setOutputFileName(QString());
}

QString PrinterTarget::askPdfFile() {
    const bool cancelError = dialog_.CancelError;
    dialog_.CancelError = false;
    dialog_.DialogTitle = texts_.Text(78);
    dialog_.Filter = QStringLiteral("PDF (*.pdf)|*.pdf");
    dialog_.FilterIndex = 1;
    dialog_.DefaultExt = QStringLiteral("pdf");
    dialog_.Flags = 0;
    dialog_.FileName.clear();
    const bool chosen = dialog_.ShowSave();
    dialog_.CancelError = cancelError;
    QString path = chosen ? dialog_.FileName : QString();
    if (path.isEmpty())
        return QString();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    // A listing must never silently take the place of a cam file or an earlier print.
    if (QFileInfo::exists(path) &&
        prompts_.message(texts_.Text(108) + path, texts_.Text(78), Prompts::Buttons::YesNo,
                         Prompts::Icon::Warning) != Prompts::Answer::Yes)
        return QString();
    return path;
}

PrintSurface* PrinterTarget::beginJob() {
    surface_.reset();
    if (askedName_)
        printer_.setOutputFileName(QString());
    askedName_ = false;
    if (printer_.outputFormat() == QPrinter::NativeFormat &&
        QPrinterInfo::availablePrinterNames().isEmpty())
        printer_.setOutputFormat(QPrinter::PdfFormat);

    // A file name asked for here serves this one job: the next print asks again rather than
    // overwrite it without a word.
    if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty()) {
        const QString path = askPdfFile();
        if (path.isEmpty())
            return nullptr;
        printer_.setOutputFileName(path);
        askedName_ = true;
    }
    QString failed;
    // A PDF file is made in memory and put in place whole at the end of the job.
    if (printer_.outputFormat() == QPrinter::PdfFormat)
        surface_ =
            PainterPrintSurface::BeginPdf(printer_.outputFileName(), printer_.pageLayout(),
                                          printer_.resolution(), printer_.docName(), &failed);
    else
        surface_ = PainterPrintSurface::Begin(printer_, &failed);
    if (!surface_) {
        prompts_.message(texts_.Text(306) + QLatin1Char(' ') + failed, texts_.Text(78),
                         Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return nullptr;
    }
    lastPdf_ =
        printer_.outputFormat() == QPrinter::PdfFormat ? printer_.outputFileName() : QString();
    return surface_.get();
}

QString PrinterTarget::failure() const {
    return surface_ ? surface_->failure() : QString();
}
