#pragma once

#include <QDialog>

#include <functional>

struct Session;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

// SelPort: the serial port and speed of the line. A choice takes effect at once in the
// running program; OK also stores it in the options file, EXIT leaves the file as it was.
class PortWindow : public QDialog {
    Q_OBJECT
public:
    // portExists answers whether port n exists (EnumSerPorts over the Session's working
    // directory when not given).
    explicit PortWindow(Session& session, QWidget* parent = nullptr,
                        std::function<bool(int)> portExists = {});

    // The speeds offered, in the order of their choices.
    static const QStringList& Speeds();
    // "Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop".
    static QString PortSettingsText(int portNumber, const QString& baudRate);

    // Panset from PortNumber and BaudRate.
    void ShowPortSettings();
    // The operator's choices.
    void choosePortEntry(int index);
    void chooseSpeed(const QString& baud);

private:
    void fillPorts();
    void selectStoredChoices();
    void storeAndClose();

    Session& session_;
    std::function<bool(int)> portExists_;
    QComboBox* ComSel = nullptr;
    QLabel* Lwarn = nullptr;
    QLabel* Panset = nullptr;
    QList<QRadioButton*> speedChoices_;
    QPushButton* TOK = nullptr;
    QPushButton* TCL = nullptr;
};
