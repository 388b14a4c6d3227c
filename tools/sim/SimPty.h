#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The simulator's end of a pseudo-terminal in raw mode. The program opens the other end
// (the device path) as its serial port. The simulator keeps that end open itself as well,
// so a program that closes and opens its port again never hangs the line up.
class SimPty {
public:
    SimPty() = default;
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    // Makes the terminal; false with errorText set when the system refuses.
    bool create(QString* errorText);
    QString devicePath() const { return devicePath_; }

    // One byte from the program, waiting at most timeoutMs; nothing on time-out or when a
    // signal interrupted the wait.
    std::optional<uint8_t> readByte(int timeoutMs);
    bool write(const QByteArray& bytes);
    // Drops what the program sent and nobody read yet.
    void discardInput();
    // Closes the simulator's end: the program's port sees the line hang up, as when a
    // controller is switched off mid-transfer. Reads then only wait; writes fail.
    void hangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    QString devicePath_;
};
