#include "print/PrinterSelection.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "model/LanguageTexts.h"

namespace PrinterSelection {

namespace {

// The copies the dialog reported. While the driver makes the copies the wrapper reads them
// as 1, so the flag is set aside for the reading.
int reportedCopies(CommonDialog& dialog) {
    const uint32_t flags = dialog.Flags;
    dialog.Flags &= ~CopiesByDriver;
    const int copies = dialog.Copies();
    dialog.Flags = flags;
    return copies;
}
} // namespace

void SelectPrinter(CommonDialog& dialog, Prompts& prompts, const LanguageTexts& texts) {
    const bool cancelError = dialog.CancelError;
    dialog.CancelError = false;
    for (;;) {
        dialog.DialogTitle = texts.Text(42);
        // The print-to-file choice stays offered: a machine without printers prints to PDF.
        dialog.Flags = NoSelection | NoPageNumbers | CopiesByDriver;
        dialog.setCopies(1);
        // A cancel ends the selection whatever an earlier dialog left in the copies.
        if (!dialog.ShowPrinter())
            break;
        if (reportedCopies(dialog) <= 1 && !(dialog.Flags & Collate))
            break;
        prompts.message(texts.Text(55), QString(), Prompts::Buttons::Ok, Prompts::Icon::None);
    }
    dialog.CancelError = cancelError;
}

} // namespace PrinterSelection
