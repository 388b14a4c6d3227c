#pragma once

#include <QObject>

#include <cstdint>

class WindowHost;

// Comm > Receive Sizes (c_Rcsz) and Comm > Transmit Sizes (C_Trsz): a whole program from
// and to the controller through the transfer window.
class TransferCommands : public QObject {
    Q_OBJECT
public:
    explicit TransferCommands(WindowHost& window);

    void receiveSizes();
    void transmitSizes();

private:
    // "6 formats in 16.2 s", for the status bar.
    QString formatsIn(int64_t ms) const;

    WindowHost& window_;
};
