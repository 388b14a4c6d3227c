#pragma once

#include <QObject>

class MainWindow;

// Comm > Receive Sizes (c_Rcsz) and Comm > Transmit Sizes (C_Trsz): a whole program from
// and to the controller through the transfer window.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    explicit TransferCommands(MainWindow& window);

    void receiveSizes();
    void transmitSizes();

private:
    MainWindow& window_;
};
