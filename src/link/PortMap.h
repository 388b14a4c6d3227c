#pragma once

#include <QString>

// How the controller's port numbers ("COM"n) meet the devices of this machine: first the
// link ports/COMn in the working directory (the simulator makes one), else /dev/ttyS(n-1)
// for n 1..32, /dev/ttyUSB(n-33) for 33..48 and /dev/ttyACM(n-49) for 49..64.
namespace PortMap {
constexpr int FirstPort = 1;
constexpr int LastPort = 64;

// The device path of port n, or an empty text when n names no device at all.
QString PortDevice(int n, const QString& workDir);
// The link the simulator makes for port n in workDir.
QString PortLink(int n, const QString& workDir);
// True when path exists and opens as a serial line (a device that is busy counts as
// existing: it may be our own open port).
bool DeviceExists(const QString& path);
} // namespace PortMap

// Whether port n exists on this machine. It only asks: a port it finds is closed again.
bool EnumSerPorts(int n, const QString& workDir);
