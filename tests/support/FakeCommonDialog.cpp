#include "support/FakeCommonDialog.h"

#include <QTest>

bool FakeCommonDialogBackend::chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                                         int32_t& error) {
    titles.append(request.DialogTitle);
    filters.append(request.Filter);
    initialNames.append(request.FileName);
    initialDirs.append(request.InitDir);
    saveDialogs.append(save);
    error = 0;
    if (files_.empty()) {
        QTest::qFail("a file dialog opened that no test expected", __FILE__, __LINE__);
        return false;
    }
    choice = files_.front();
    files_.pop_front();
    return !choice.path.isEmpty();
}

bool FakeCommonDialogBackend::choosePrinter(const CommonDialog&, PrinterChoice& choice,
                                            int32_t& error) {
    ++printerDialogs;
    error = 0;
    if (printers_.empty()) {
        QTest::qFail("a printer dialog opened that no test expected", __FILE__, __LINE__);
        return false;
    }
    const PrinterStep step = printers_.front();
    printers_.pop_front();
    if (step.confirm)
        choice = step.choice;
    return step.confirm;
}
