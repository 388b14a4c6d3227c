#pragma once

#include <QDialog>

struct Session;
class PrintTarget;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// PrnSize: prints one format, or every format one page each, as a listing or as a diagram.
class PrintWindow : public QDialog {
    Q_OBJECT
public:
    PrintWindow(Session& session, PrintTarget& target, QWidget* parent = nullptr);

    // T_OK: prints, then ends the job; the window stays open.
    void printFormats();
    // Command1: Select Printer.
    void selectPrinter();
    // Tab or Enter in NFrm: a number outside 1..FormatCount becomes the nearest format.
    void correctFormatNumber();

    QLabel* LFORM;
    QLineEdit* NFrm;
    QCheckBox* PRINTALL;
    QGroupBox* Fr_MODS;
    QRadioButton* F_grh;
    QRadioButton* F_TXT;
    QPushButton* Command1;
    QPushButton* T_OK;
    QPushButton* T_EX;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int typedFormat() const;
    void setCaptions();

    Session& session_;
    PrintTarget& target_;
    bool centred_ = false;
};
