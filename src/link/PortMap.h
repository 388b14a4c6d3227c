#pragma once

#include <QMap>
#include <QString>

// How the controller's port numbers ("COM"n) meet the devices of this machine: first the
// link ports/COMn in the working directory (the simulator makes one), else /dev/ttyS(n-1)
// for n 1..32, /dev/ttyUSB(n-33) for 33..48 and /dev/ttyACM(n-49) for 49..64. Ports 65..96
// are network ports: each is the address (rfc2217://HOST:PORT or tcp://HOST:PORT) the
// operator set for it in the per-user settings.
namespace PortMap {
constexpr int FirstPort = 1;
constexpr int LastSerialPort = 64;
constexpr int FirstNetworkPort = 65;
constexpr int LastPort = 96;

// The addresses of the network ports that have one, by port number.
using NetworkPorts = QMap<int, QString>;

// The device path (or network address) of port n, or an empty text when n names none.
QString PortDevice(int n, const QString& workDir, const NetworkPorts& network = {});
// The link the simulator makes for port n in workDir.
QString PortLink(int n, const QString& workDir);
// True when path exists and opens as a serial line (a device that is busy counts as
// existing: it may be our own open port).
bool DeviceExists(const QString& path);
} // namespace PortMap

// Whether port n exists on this machine (a network port: whether it has an address). It only
// asks: a port it finds is closed again, and no server is called.
bool EnumSerPorts(int n, const QString& workDir, const PortMap::NetworkPorts& network = {});
