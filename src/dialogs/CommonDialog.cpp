#include "dialogs/CommonDialog.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

int16_t CommonDialog::Copies() const {
    return (Flags & UseDevModeCopies) ? int16_t(1) : copies_;
}

static int16_t pageValue(int16_t v) {
    return v < 1 ? int16_t(0) : v;
}

void CommonDialog::setMin(int16_t v) {
    min_ = pageValue(v);
    fromPage_ = std::max(fromPage_, min_);
    toPage_ = std::max(toPage_, fromPage_);
    max_ = std::max(max_, toPage_);
}

void CommonDialog::setMax(int16_t v) {
    max_ = pageValue(v);
    toPage_ = std::min(toPage_, max_);
    fromPage_ = std::min(fromPage_, toPage_);
    min_ = std::min(min_, fromPage_);
}

void CommonDialog::setFromPage(int16_t v) {
    fromPage_ = pageValue(v);
    min_ = std::min(min_, fromPage_);
    toPage_ = std::max(toPage_, fromPage_);
    max_ = std::max(max_, toPage_);
}

void CommonDialog::setToPage(int16_t v) {
    toPage_ = pageValue(v);
    max_ = std::max(max_, toPage_);
    fromPage_ = std::min(fromPage_, toPage_);
    min_ = std::min(min_, fromPage_);
}

QList<CommonDialog::FilterEntry> CommonDialog::FilterEntries() const {
    QList<FilterEntry> entries;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts.at(i), parts.at(i + 1)});
    return entries;
}

bool CommonDialog::finish(bool confirmed, int32_t error, const char* source, bool fileDialog) {
    if (confirmed) {
        extendedError_ = 0;
        return true;
    }
    extendedError_ = error;
    if (fileDialog) {
        FileName.clear();
        fileTitle_.clear();
    }
    if (CancelError)
        throw CommonDialogCancel(QString::fromLatin1(source));
    return false;
}

bool CommonDialog::showFile(bool save) {
    CommonDialogBackend::FileChoice choice;
    choice.filterIndex = FilterIndex;
    int32_t error = 0;
    // A file dialog may wander through directories; the program's current directory is the
    // one it had before the dialog, whatever the operator did in it.
    const QString currentDir = QDir::currentPath();
    bool ok = backend_->chooseFile(save, *this, choice, error);
    QDir::setCurrent(currentDir);
    if (ok) {
        // Results end at their first zero character, as the platform hands them back.
        const qsizetype nul = choice.path.indexOf(QChar(0));
        const QString path = nul < 0 ? choice.path : choice.path.left(nul);
        // A path longer than the caller's buffer fails the dialog rather than arriving cut
        // short: a truncated name would read or overwrite some other file.
        if (path.size() >= MaxFileSize()) {
            ok = false;
            error = BufferTooSmallError;
        } else {
            FileName = path;
            fileTitle_ = QFileInfo(FileName).fileName();
            FilterIndex = choice.filterIndex;
        }
    }
    return finish(ok, error, save ? "FileSaveDialog" : "FileOpenDialog", true);
}

bool CommonDialog::ShowOpen() {
    return showFile(false);
}

bool CommonDialog::ShowSave() {
    return showFile(true);
}

bool CommonDialog::ShowPrinter() {
    CommonDialogBackend::PrinterChoice choice;
    choice.copies = Copies();
    choice.fromPage = fromPage_;
    choice.toPage = toPage_;
    choice.flags = Flags;
    int32_t error = 0;
    const bool ok = backend_->choosePrinter(*this, choice, error);
    if (ok) {
        Flags = choice.flags;
        setCopies(choice.copies);
        if (choice.toPage > 0)
            setToPage(choice.toPage);
        if (choice.fromPage > 0)
            setFromPage(choice.fromPage);
        hdc_ = choice.hdc;
    }
    return finish(ok, error, "PrintDialog", false);
}

bool CommonDialog::ShowColor() {
    int32_t color = Color;
    int32_t error = 0;
    const bool ok = backend_->chooseColor(*this, color, error);
    if (ok)
        Color = color;
    return finish(ok, error, "ColorDialog", false);
}

bool CommonDialog::ShowFont() {
    CommonDialogBackend::FontChoice choice;
    int32_t error = 0;
    const bool ok = backend_->chooseFont(*this, choice, error);
    if (ok) {
        FontName = choice.name;
        FontSize = choice.size;
        FontBold = choice.bold;
        FontItalic = choice.italic;
        FontUnderline = choice.underline;
        FontStrikethru = choice.strikeout;
        Color = choice.color;
    }
    return finish(ok, error, "FontDialog", false);
}

bool CommonDialog::ShowHelp() {
    int32_t error = 0;
    const bool ok = backend_->showHelp(*this, error);
    return finish(ok, error, "HelpDialog", false);
}
