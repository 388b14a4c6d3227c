#include "dialogs/gui/QtCommonDialogBackend.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

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

static QRgb toRgb(int32_t color) {
    // The stored colour is 00BBGGRR, as the controller's desktop world keeps it.
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

static int32_t fromRgb(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

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
    if (request.Max() > 0)
        dialog.setMinMax(qMax<int>(1, request.Min()), request.Max());
    error = 0;
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.printerName = printer.printerName();
    choice.copies = int16_t(printer.copyCount());
    choice.fromPage = int16_t(printer.fromPage());
    choice.toPage = int16_t(printer.toPage());
    choice.flags = request.Flags;
    if (printer.collateCopies())
        choice.flags |= 0x10; // the collate flag of the print dialog
    choice.hdc = reinterpret_cast<quintptr>(&printer);
    return true;
}

bool QtCommonDialogBackend::chooseColor(const CommonDialog& request, int32_t& color,
                                        int32_t& error) {
    for (int i = 0; i < 16; ++i) {
        const int grey = 0xFF - 0x10 * i;
        QColorDialog::setCustomColor(i, QColor(grey, grey, grey));
    }
    const QColor chosen = QColorDialog::getColor(QColor(toRgb(request.Color)), owner(request));
    error = 0;
    if (!chosen.isValid())
        return false;
    color = fromRgb(chosen);
    return true;
}

bool QtCommonDialogBackend::chooseFont(const CommonDialog& request, FontChoice& choice,
                                       int32_t& error) {
    QFont initial(request.FontName);
    if (request.FontSize > 0)
        initial.setPointSize(request.FontSize);
    initial.setWeight(request.FontBold ? QFont::Bold : QFont::Normal);
    initial.setItalic(request.FontItalic);
    initial.setUnderline(request.FontUnderline);
    initial.setStrikeOut(request.FontStrikethru);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, owner(request));
    error = 0;
    if (!ok)
        return false;
    choice.name = font.family();
    choice.size = int16_t(font.pointSize());
    choice.bold = font.weight() > QFont::Normal;
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikeout = font.strikeOut();
    choice.color = request.Color;
    return true;
}

bool QtCommonDialogBackend::showHelp(const CommonDialog& request, int32_t& error) {
    if (request.HelpFile.isEmpty() || !QFileInfo::exists(request.HelpFile)) {
        error = 1;
        return false;
    }
    error = 0;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(request.HelpFile));
}
