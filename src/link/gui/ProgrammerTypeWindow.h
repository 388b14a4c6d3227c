#pragma once

#include <QDialog>

struct Session;
class QLabel;
class QPushButton;
class QRadioButton;

// SelProg: the controller type, chosen by hand or read from the controller. The window
// works on a pair of its own; the program is only resized by the main window afterwards,
// when TypeChanged() says so, and only ever to one of the six pairs.
class ProgrammerTypeWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgrammerTypeWindow(Session& session, QWidget* parent = nullptr);

    int chosenCamCount() const { return camCount_; }
    int chosenFormatCount() const { return formatCount_; }
    // Decided at closing: the operator leaves with another type and may lose no work.
    bool TypeChanged() const { return typeChanged_; }

    // Shows the chosen pair in the choices; a cam count other than 8, 16, 24 changes nothing.
    void UpdateTypeChoices();
    // The presence test: K_AUTSEL is offered only when a controller answers CTS. The port
    // is closed afterwards. Run whenever the window becomes active.
    void presenceTest();
    // The operator's choices.
    void chooseCams(int index);
    void chooseFormats(int index);
    void automaticSelection();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void labelFormatChoices(int camCount);
    int checkedFormatChoice() const;

    Session& session_;
    const int openingCams_;
    const int openingFormats_;
    int camCount_;
    int formatCount_;
    bool typeChanged_ = false;
    QList<QRadioButton*> O_Selc;
    QList<QRadioButton*> O_SELF;
    QList<int> formatValues_{0, 0};
    QPushButton* K_AUTSEL = nullptr;
    QLabel* DefPrg = nullptr;
    QPushButton* K_OK = nullptr;
};
