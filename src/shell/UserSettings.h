#pragma once

#include "link/PortMap.h"

#include <QString>

// The per-user choices that are not part of the options file (whose lines the controller's
// world shares): kept in an INI file of the user's configuration directory. Without a file
// they live in memory only, which is what tests and the command line get.
class UserSettings {
public:
    // Reads the settings from path (missing or unreadable: the defaults) and keeps them there.
    void Load(const QString& path);
    QString Path() const { return path_; }

    // Options > Verify after Transmit: off unless the user turned it on.
    bool VerifyAfterTransmit() const { return verifyAfterTransmit_; }
    // Changes it and writes the file at once; false (the setting still changed for this run)
    // when the file could not be written.
    bool SetVerifyAfterTransmit(bool on);

    // The speed of the timing window, in rpm: 600 until the user chooses another.
    int TimingRpm() const { return timingRpm_; }
    // Changes it and writes the file at once; false as for Verify after Transmit.
    bool SetTimingRpm(int rpm);

    // The addresses of the network ports COM 65..96 ("rfc2217://10.0.0.20:4001").
    const PortMap::NetworkPorts& NetworkPorts() const { return networkPorts_; }
    // Sets (an empty address: forgets) the address of network port n and writes the file at
    // once; false when the file could not be written (the address still holds for this run).
    bool SetNetworkPort(int n, const QString& address);

    // ~/.config/q517/q517.ini on Linux.
    static QString DefaultPath();

private:
    QString path_;
    bool verifyAfterTransmit_ = false;
    int timingRpm_ = 600;
    PortMap::NetworkPorts networkPorts_;
};
