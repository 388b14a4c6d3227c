#pragma once

#include <QStatusBar>

class QLabel;

// The main window's status bar, left to right: the port and its device ("COM 3 ·
// /dev/ttyUSB0 · 9600"), the controller ("C24-28 ready" / "no controller"), the open file
// (full path in the tooltip, "*" while unsaved), the result of the last long operation, and
// at the right end the readouts other window parts add.
class MainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit MainStatusBar(QWidget* parent = nullptr);

    void showPort(const QString& text);
    void showController(const QString& text);
    // path empty: a program not yet saved to a file.
    // The file's name (noFile without one), marked " *" while unsaved; its path in the tooltip.
    void showFile(const QString& path, bool saved, const QString& noFile);
    void showResult(const QString& text);
    // Puts a readout (a degree, a position) at the right end; the bar takes ownership.
    void addReadout(QWidget* readout);

private:
    QLabel* addPart(const char* name, int stretch);

    QLabel* port_;
    QLabel* controller_;
    QLabel* file_;
    QLabel* result_;
};
