#pragma once

#include <QObject>

#include <memory>

class WindowHost;
class QPrinter;

// File > Select Printer (f_SelPr) and File > Print (Pr_Size), on the program's current
// printer: the one the common dialog keeps.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    explicit PrintCommands(WindowHost& window);
    ~PrintCommands() override;

    void selectPrinter();
    void openPrintWindow();

private:
    QPrinter& printer();

    WindowHost& window_;
    // Only when the dialogs are not the platform's (a test): the program's own printer.
    std::unique_ptr<QPrinter> ownPrinter_;
};
