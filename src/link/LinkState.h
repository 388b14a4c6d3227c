#pragma once

#include "link/PortMap.h"

#include <QString>

#include <cstdint>

// What the line remembers between exchanges: the result of the last open, the controller's
// last answers and the pair it reported. One instance lives in each ControllerLink.
struct LinkState {
    // Result of the last OpenSerialPort: 0 = controller present and port left open,
    // 1 = controller not ready or port unusable (port closed), anything else = the number
    // of an error raised while closing the port.
    int16_t PortStatus = 1;
    // Set by SerialComStr when the controller stayed silent for 3000 ms.
    bool ReadFailed = false;
    // The last reply lines to "?M" and "?T" (CR included), as received.
    QString IdentReply;
    QString TypeReply;
    // The pair the last identification read from the "?M" reply (0 = not read). It is kept
    // here, not in the program: only the caller decides whether the program takes it, and
    // a pair outside the six never sizes the program.
    int IdentCamCount = 0;
    int IdentFormatCount = 0;
    // The device that pair was read from: the controller is known on that device only, until
    // a failed open or a broken line there forgets it (ForgetController).
    QString IdentDevice;
    void ForgetController() {
        IdentCamCount = 0;
        IdentFormatCount = 0;
        IdentDevice.clear();
    }

    // Why the last OpenSerialPort gave no ready controller, as the system said it then
    // ("no such device", "Device or resource busy"); empty after a good opening.
    QString OpenCause;

    // When set, the line opens this device instead of the port map's (q517-cli --device).
    QString DeviceOverride;
    // The addresses of the network ports COM 65..96 (from the per-user settings).
    PortMap::NetworkPorts NetworkPorts;
};
