#pragma once

class CommonDialog;
class LanguageTexts;
class Prompts;

// Select Printer: the print dialog is shown again until the operator takes one copy without
// collation (the listing is sent once, page by page) or cancels, which keeps the printer
// chosen before.
namespace PrinterSelection {

// The print dialog's own flag values, passed through the common dialog unchanged.
constexpr unsigned NoSelection = 0x4;
constexpr unsigned NoPageNumbers = 0x8;
constexpr unsigned Collate = 0x10;
constexpr unsigned CopiesByDriver = 0x40000;

void SelectPrinter(CommonDialog& dialog, Prompts& prompts, const LanguageTexts& texts);

} // namespace PrinterSelection
