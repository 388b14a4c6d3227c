#pragma once

#include "link/PortMap.h"

#include <QString>

#include <cstdint>

// How an opening of the line ended.
enum class LinkStatus {
    Ready,           // open, and the controller asserts CTS
    NotReady,        // open, but the controller does not assert CTS (the port stays open)
    NoSuchPort,      // the port number names no device, or the device is not there
    InUse,           // another program holds the device
    OpenFailed,      // the device refused to open for another reason (cause says which)
    SettingsRefused, // the device opened but refused the speed; the port is closed again
};

// The number the operator is shown for a status: 0 ready, 1 not ready, 101 no such port,
// 102 the device refused to open, 103 the speed was refused, 104 in use.
int16_t LinkErrorNumber(LinkStatus status);

// What the line remembers between exchanges: the result of the last open, the controller's
// last answers and the pair it reported. One instance lives in each ControllerLink.
struct LinkState {
    // Result of the last OpenSerialPort: Ready with the port left open, else the port is
    // closed again.
    LinkStatus PortStatus = LinkStatus::NotReady;
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
