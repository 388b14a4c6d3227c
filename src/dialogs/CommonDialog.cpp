#include "dialogs/CommonDialog.h"

#include <QDir>
#include <QFileInfo>

int16_t CommonDialog::Copies() const {
    return (Flags & UseDevModeCopies) ? int16_t(1) : copies_;
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
    choice.flags = Flags;
    int32_t error = 0;
    const bool ok = backend_->choosePrinter(*this, choice, error);
    if (ok) {
        Flags = choice.flags;
        setCopies(choice.copies);
        hdc_ = choice.hdc;
    }
    return finish(ok, error, "PrintDialog", false);
}
