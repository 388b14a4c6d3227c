#pragma once

#include "dialogs/CommonDialog.h"

#include <QStringList>

#include <deque>

// The common dialogs answered from a script: the next file chosen (or a cancel), the
// printer chosen, and what each dialog was asked with.
class FakeCommonDialogBackend : public CommonDialogBackend {
public:
    // The next file dialog returns path; an empty path cancels it.
    void chooseNextFile(const QString& path, int filterIndex = 1) {
        files_.push_back({path, filterIndex});
    }
    void chooseNextPrinter(const PrinterChoice& choice, bool confirm = true) {
        printers_.push_back({choice, confirm});
    }

    bool chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                    int32_t& error) override;
    bool choosePrinter(const CommonDialog& request, PrinterChoice& choice, int32_t& error) override;

    // Titles and filters the file dialogs were shown with, in order.
    QStringList titles;
    QStringList filters;
    QStringList initialNames;
    QStringList initialDirs;
    QList<bool> saveDialogs;
    int printerDialogs = 0;
    bool pending() const { return !files_.empty() || !printers_.empty(); }

private:
    std::deque<FileChoice> files_;
    struct PrinterStep {
        PrinterChoice choice;
        bool confirm;
    };
    std::deque<PrinterStep> printers_;
};
