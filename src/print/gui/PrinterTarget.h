#pragma once

#include "print/PrintTarget.h"

#include <QString>

#include <memory>

class CommonDialog;
class LanguageTexts;
class PainterPrintSurface;
class Prompts;
class QPrinter;

// Jobs on the program's current printer. When it prints into a PDF file that has no name
// yet (always so on a machine without printers), each job first asks for the file name.
class PrinterTarget : public PrintTarget {
public:
    PrinterTarget(QPrinter& printer, CommonDialog& dialog, Prompts& prompts,
                  const LanguageTexts& texts);
    ~PrinterTarget() override;

    PrintSurface* beginJob() override;
    QString failure() const override;
    // The PDF file of the last job begun, empty when it went to a printer (or nowhere).
    const QString& lastPdf() const { return lastPdf_; }

private:
    // The PDF file to write, or empty when the operator declined.
    QString askPdfFile();

    QPrinter& printer_;
    CommonDialog& dialog_;
    Prompts& prompts_;
    const LanguageTexts& texts_;
    std::unique_ptr<PainterPrintSurface> surface_;
    bool askedName_ = false;
    QString lastPdf_;
};
