#pragma once

#include "dialogs/CommonDialog.h"

#include <memory>

class QPrinter;

// The wrapper's dialogs as Qt's file and print dialogs. It also keeps the program's current
// printer.
class QtCommonDialogBackend : public CommonDialogBackend {
public:
    QtCommonDialogBackend();
    ~QtCommonDialogBackend() override;

    bool chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                    int32_t& error) override;
    bool choosePrinter(const CommonDialog& request, PrinterChoice& choice, int32_t& error) override;

    // The printer the program prints on; Select Printer changes it.
    QPrinter& currentPrinter();

    // "Cam files|*.cam|All|*.*" as Qt's name filters: "Cam files (*.cam)", "All (*.*)".
    static QStringList NameFilters(const CommonDialog& request);

private:
    std::unique_ptr<QPrinter> printer_;
};
