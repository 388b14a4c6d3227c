#include "dialogs/gui/QtCommonDialogBackend.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

QtCommonDialogBackend::QtCommonDialogBackend() = default;
QtCommonDialogBackend::~QtCommonDialogBackend() = default;

QPrinter& QtCommonDialogBackend::currentPrinter() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

static QWidget* owner(const CommonDialog& request) {
    return request.Parent ? static_cast<QWidget*>(request.Parent) : QApplication::activeWindow();
}

QStringList QtCommonDialogBackend::NameFilters(const CommonDialog& request) {
    QStringList filters;
    for (const auto& entry : request.FilterEntries()) {
        QString patterns = entry.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << entry.description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

bool QtCommonDialogBackend::chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                                       int32_t& error) {
    QFileDialog dialog(owner(request), request.DialogTitle);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The wrapper asks its own overwrite question where one is needed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = NameFilters(request);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, int(request.FilterIndex), int(filters.size()));
        dialog.selectNameFilter(filters.at(index - 1));
    }
    if (!request.DefaultExt.isEmpty())
        dialog.setDefaultSuffix(request.DefaultExt);
    if (!request.InitDir.isEmpty())
        dialog.setDirectory(request.InitDir);
    if (!request.FileName.isEmpty())
        dialog.selectFile(request.FileName);
    error = 0;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    choice.path = QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath();
    choice.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

bool QtCommonDialogBackend::choosePrinter(const CommonDialog& request, PrinterChoice& choice,
                                          int32_t& error) {
    QPrinter& printer = currentPrinter();
    if (request.Copies() > 0)
        printer.setCopyCount(request.Copies());
    QPrintDialog dialog(&printer, owner(request));
    if (!request.DialogTitle.isEmpty())
        dialog.setWindowTitle(request.DialogTitle);
    error = 0;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printerName = printer.printerName();
    choice.copies = int16_t(printer.copyCount());
    choice.flags = request.Flags;
    if (printer.collateCopies())
        choice.flags |= 0x10; // the collate flag of the print dialog
    choice.hdc = reinterpret_cast<quintptr>(&printer);
    return true;
}
