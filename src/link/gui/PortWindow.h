#pragma once

#include "link/PortDetails.h"

#include <QDialog>

#include <functional>

struct Session;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class LanguageTexts;

// SelPort: the serial port and speed of the line. A choice takes effect at once in the
// running program; OK also stores it in the options file, EXIT leaves the file as it was.
class PortWindow : public QDialog {
    Q_OBJECT
public:
    // portExists answers whether port n exists (EnumSerPorts over the Session's working
    // directory when not given); adapters lists what the system knows of its serial
    // adapters (SystemAdapters when not given).
    explicit PortWindow(Session& session, QWidget* parent = nullptr,
                        std::function<bool(int)> portExists = {},
                        std::function<QList<AdapterInfo>()> adapters = {});

    // The speeds offered, in the order of their choices.
    static const QStringList& Speeds();
    // "Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop".
    static QString PortSettingsText(const LanguageTexts& texts, int portNumber,
                                    const QString& baudRate);

    // Panset from PortNumber and BaudRate.
    void ShowPortSettings();
    // The operator's choices.
    void choosePortEntry(int index);
    void chooseSpeed(const QString& baud);
    // Find controller (K_FIND): asks each listed port for its identity, shows each answer
    // in FindLog and selects the port where a controller answered.
    void findController();
    // The network port field: keeps the address typed for the selected network port in the
    // per-user settings (a bad one is refused with its reason), and Test (K_NETTEST) connects
    // and shows in NetTestLog what the server answered.
    void storeNetworkAddress();
    void testNetworkPort();

protected:
    // Escape or the close button while a search runs stops the search, not the window: the
    // search is still using the line.
    void reject() override;

private:
    void fillPorts();
    void selectStoredChoices();
    void storeAndClose();
    void showPortDetails(int index);
    void setChoicesEnabled(bool enabled);
    void stopSearch();
    int selectedPort() const;
    void showNetworkPort(int port);

    Session& session_;
    std::function<bool(int)> portExists_;
    std::function<QList<AdapterInfo>()> adapters_;
    QComboBox* ComSel = nullptr;
    QLabel* Lwarn = nullptr;
    QLabel* Panset = nullptr;
    QLabel* PortInfo = nullptr;
    QPushButton* K_FIND = nullptr;
    QProgressBar* FindBar = nullptr;
    QLabel* FindLog = nullptr;
    QLabel* LNetPort = nullptr;
    QLineEdit* NetPort = nullptr;
    QPushButton* K_NETTEST = nullptr;
    QLabel* NetTestLog = nullptr;
    QWidget* speedFrame_ = nullptr;
    QList<QRadioButton*> speedChoices_;
    QPushButton* TOK = nullptr;
    QPushButton* TCL = nullptr;
    bool searching_ = false;
    bool stopRequested_ = false;
};
